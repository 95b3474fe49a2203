#pragma once

#include "SettingsFile.h"
#include "SiteSection.h"

#include <QStringList>

#include <optional>
#include <vector>

// The site names live in SDUrl.txt and each site's data in the settings file
// section of its position: two files that must change together. Every change
// of the list writes the settings file first, in one batch that also keeps a
// copy of the new names in the section below; SDUrl.txt follows. When the
// program stops between the two writes (a crash, a full disk), the next load
// finds the settings file ahead of the list and takes the names from the copy,
// so every name stays with its URL, user name and password. The Windows
// original ignores the extra section.
//
// The copy costs a few values, not one per site: the names joined and cut into
// values of a thousand characters or so, a digest of the list it replaces, and
// a digest of only the site sections the change wrote.
namespace SiteListJournal {

QString sectionName();  // "SDUrl.txt": no site may carry this name

// Inside the caller's batch, after the site sections were written: `names` is
// the list the sections now belong to, `namesOnDisk` what SDUrl.txt holds.
// `written` are the sections the change wrote from position `from` on; the
// sections after them up to (not including) `to` are those a shorter list
// left behind, read as they stand.
bool write(SettingsFile& settings, const QStringList& names, const QStringList& namesOnDisk, int from, int to,
           const std::vector<SiteSection::Values>& written);

// The names to use when SDUrl.txt holds `namesOnDisk`: the copy when the
// settings file was written by us after that list and the sections of the
// change still hold what it wrote; nullopt when the list file is to be trusted
// (it agrees with the copy, or another program changed the files since).
std::optional<QStringList> recover(SettingsFile& settings, const QStringList& namesOnDisk);

// Removes the copy once SDUrl.txt holds the list: the data folder may be
// shared with a program that knows nothing of it, and a copy left behind
// could take that program's later list for one of ours to finish.
bool close(SettingsFile& settings);

// The names as one value, and back; nullopt when `value` does not hold
// exactly `count` names in that form.
QString joinNames(const QStringList& names);
std::optional<QStringList> splitNames(const QString& value, int count);

}  // namespace SiteListJournal
