#pragma once

#include <QString>

// Brings a folder path into one form: no blanks or control characters at the
// ends, this platform's separators, no doubled separators, exactly one
// separator at the end. An empty text becomes a single separator.
void FixFolderPath(QString& path);
QString fixedFolderPath(QString path);
