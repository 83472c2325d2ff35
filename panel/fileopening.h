// The files the calculator opens from outside (named on its command line, handed over by a
// second start, dropped on one of its windows) and where each goes, told by its name's ending
// (common/fileopen.h). The files go one after another, each through its window's own Load; those
// that do not open are told at the end, all in one box.
#pragma once

#include <QString>
#include <vector>

#include "common/fileopen.h"

namespace orrindale {

// The most files one hand-over, command line or drop opens; the rest are named as not opened.
inline constexpr int kMaxOpenFiles = 256;
// The most failures one box lists, a line each; the rest are counted.
inline constexpr int kListedFailures = 12;

// The one box's text for several failures and the files beyond kMaxOpenFiles (notOpened of
// them, never opened).
QString FailedFilesText(const std::vector<OpenFailure>& failures, qsizetype notOpened);

} // namespace orrindale
