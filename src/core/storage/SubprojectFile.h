#pragma once

// subproj.dat of an experiment folder: two quoted fields, the experiment's
// name and its description as typed at the run start. A joined experiment
// carries "Data Block: " with the names of its parts, then "Joint Files".

#include <QString>

#include <optional>

namespace bandora {

struct SubprojectText {
    QString Name;
    std::optional<QString> Description; // none when the file ends after the name
};

QString SubprojectFilePath(const QString& experimentFolder);

// Throws RecordError when the file cannot be written (the previous one then stays).
void WriteSubprojectFile(const QString& experimentFolder, const QString& name, const QString& description);

// Throws RecordError when the file is missing, unreadable or holds no field.
SubprojectText ReadSubprojectFile(const QString& experimentFolder);

} // namespace bandora
