#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class SettingsFile;

// A delete renumbers the articles behind the removed ones: their settings
// keys, their paragraph files and articles.txt. Only the settings file can
// change many things at once, so the delete writes the moved keys together
// with this record of itself, in one batch. From then on the change counts as
// made: the paragraph renames and the new articles.txt follow, and a run that
// stops before they are done (a crash, a failed rename) is finished from the
// record at the next load. The Windows original ignores the extra section.
// Once the delete is finished the record goes: the data folder may be shared
// with a program that knows nothing of it, and a record left behind could
// take that program's later list for one of ours to finish.
//
//   [articles.txt]
//   Pending=1
//   Removed=0,4-6    the removed indices of the list the delete started from
//   Before=<digest>  of that list
//   After=<digest>   of the list without the removed names
namespace ArticleDeleteJournal {

struct Entry {
    QList<int> removed;  // ascending
    QString before;
    QString after;
};

QString sectionName();
QString digest(const QStringList& names);

// Inside the caller's batch, together with the moved keys.
bool write(SettingsFile& settings, const QStringList& before, const QList<int>& removed, const QStringList& after);
// The record of a delete that may still need finishing, for a list of `count`
// names; nullopt when there is none or it does not fit such a list.
std::optional<Entry> pending(SettingsFile& settings, int count);
// Removes the record. Any later change of articles.txt must carry this in its
// batch, so that a list which happens to equal an old one again never replays
// that delete. Writes nothing when there is no record.
bool close(SettingsFile& settings);

// "0,4-6" and back; nullopt for anything but ascending, distinct indices in
// 0..count-1.
QString encodeIndices(const QList<int>& indices);
std::optional<QList<int>> decodeIndices(const QString& text, int count);

}  // namespace ArticleDeleteJournal
