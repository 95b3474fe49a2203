#pragma once

#include <QString>

// Where the program keeps its files: "config/" beside the executable, as the
// Windows original does, or the per-user data folder when the executable's
// folder cannot be written (an installed program).
namespace DataFolder {

// The folder path with a trailing separator; the folder is created with its
// missing parents, readable by its owner only (it holds passwords).
QString resolve(const QString& executableDir);
bool ensure(const QString& folder);
QString perUserFolder();
// The folder an installed copy of the program runs from (/usr/bin, ...).
bool isInstalledProgramFolder(const QString& executableDir);

// The folder holds the settings file or a list file.
bool holdsData(const QString& folder);
// Why a file cannot be written into the folder, in the system's words; empty
// when it can (a small file is made, written and removed to find out).
QString writeProblem(const QString& folder);

// The files a data set is made of, spelt as the Windows original writes
// them: the settings file, the site list, the article list and the paragraph
// files (Content<article>_<paragraph>.txt).
bool isDataSetFile(const QString& fileName);

// A write cut short by a crash leaves its temporary copy ("defualt.ini.AbC123")
// beside the file it was to replace; the file itself is whole. Removes those
// of the program's own stored files, so an export does not carry them along.
// Returns how many were removed.
int removeStaleTemporaries(const QString& folder);

}  // namespace DataFolder
