// Replacing a file so that it is never seen half-written.
//
// The bytes go to a temporary file in the same folder, which is flushed to the disk and then
// renamed over the target in one step. A crash, a full disk or a missing permission at any
// point leaves either the old file or the new one, never a mixture; on failure the temporary
// file is removed and the old file is untouched.
//
// A save replaces only what the saver could have overwritten in place: a symbolic link is
// followed and the file it names is replaced (the link stays), a file that cannot be opened for
// writing (read-only, or not a regular file) is refused, and the new file keeps the old one's
// permissions and, where the process may set them, its owner and group.
//
// Every save, whether it succeeds or not, first removes the temporary files that earlier saves
// of the same file left when they were killed (RemoveSaveLeftovers): they go at the file's next
// save once they are a minute old, and a save short of space may find it there.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace orrindale {

// False on failure, with errno telling why (ENOSPC, EACCES, EPERM for a file made immutable...).
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// The file a path names once its symbolic links are followed (the path itself when it is no
// link, or a link to nothing yet); empty for a loop of links.
std::string FollowLinks(const std::string& path);

// How old a temporary file left by a killed save must be before it is removed: a save still
// under way elsewhere never takes this long.
inline constexpr std::chrono::seconds kLeftoverAge{60};

// Removes the temporary files ("NAME.tmp-XXXXXX") that saves of NAME in folder left behind when
// they were killed, if they are regular files older than minAge. Returns how many went.
int RemoveSaveLeftovers(const std::string& folder, std::string_view name,
                        std::chrono::seconds minAge = kLeftoverAge);

} // namespace orrindale
