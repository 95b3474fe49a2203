#pragma once

#include "StoredFile.h"

#include <QList>
#include <QStringList>

#include <optional>
#include <vector>

class ArticleFiles;

// What a delete does to the articles of a list of `count`: every article
// behind a removed one moves down by the number of removed ones before it.
// Its paragraph files move by rename, lowest target first: a target then
// holds either a removed article's text or one already moved lower, so no
// rename destroys a text still needed.
class ArticleRenumbering {
public:
    struct Move {
        int from;
        int to;
    };

    // `removed`: ascending, distinct indices below `count`.
    ArticleRenumbering(int count, const QList<int>& removed);

    const std::vector<Move>& moves() const { return m_moves; }
    int firstRemoved() const { return m_removed.isEmpty() ? -1 : m_removed.first(); }
    QStringList kept(const QStringList& names) const;

    // Every paragraph file to be moved must exist, so that each move is one
    // rename and a missing source later means its rename was done. A missing
    // file becomes an empty one, which reads the same. Run before the record
    // of the delete is written.
    QStringList createMissingSources(ArticleFiles& files) const;
    // The renames, in their order. With `resume`, the renames an interrupted
    // run did are skipped: the last rename done is the last one whose source
    // is gone, since a source is only filled again by a later rename. Stops at
    // the first failure: a later rename could overwrite the text left behind.
    WriteResult renameParagraphFiles(ArticleFiles& files, bool resume) const;
    // The same renames one by one, for a run on another thread.
    size_t renameCount() const;
    WriteResult renameStep(ArticleFiles& files, size_t i) const;
    // The rename that brings paragraph j to article `to`, when the delete moves it.
    struct Source {
        size_t step;
        int from;
    };
    std::optional<Source> renameInto(int to, int j) const;

private:
    struct Rename {
        int from;
        int to;
        int paragraph;
    };
    std::vector<Rename> renames() const;

    QList<int> m_removed;
    std::vector<Move> m_moves;
};
