// Placeholder until the build generates it.
#pragma once
namespace orrindale {
inline constexpr char kVersion[] = "0.5.0418";
}
