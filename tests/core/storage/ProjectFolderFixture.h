#pragma once

#include "core/storage/ProjectFiles.h"
#include "support/Files.h"
#include "support/ScriptedOperator.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace bandora::test {

// Damage to line 10 of a table or plate file (a channel record) that would
// shift every later channel if it were read: the file must be refused.
inline QByteArray EditLine(const QByteArray& b, const std::function<void(QList<QByteArray>&)>& edit)
{
    QList<QByteArray> lines = b.split('\n');
    edit(lines);
    return lines.join('\n');
}

inline const std::pair<const char*, std::function<QByteArray(const QByteArray&)>> kLineDamages[] = {
    {"a line lost", [](const QByteArray& b) { return EditLine(b, [](auto& l) { l.removeAt(10); }); }},
    {"a line doubled", [](const QByteArray& b) { return EditLine(b, [](auto& l) { l.insert(10, l[10]); }); }},
    {"two lines swapped", [](const QByteArray& b) { return EditLine(b, [](auto& l) { l.swapItemsAt(10, 11); }); }},
    {"a field too many",
     [](const QByteArray& b) { return EditLine(b, [](auto& l) { l[10].insert(l[10].size() - 1, ",7"); }); }},
    {"CR-only line ends", [](const QByteArray& b) { return QByteArray(b).replace("\r\n", "\r"); }},
};

// An application folder of its own per test, with project folders made on demand.
class ProjectFolderTest : public ::testing::Test {
protected:
    QString Folder(int number) const
    {
        return number == 0 ? app : QDir(app).filePath(ProjectFolderName(number));
    }
    QString File(int number, const QString& name) const { return QDir(Folder(number)).filePath(name); }

    ProjectContext Context(int number)
    {
        QDir().mkpath(Folder(number));
        return ProjectContext{app, Folder(number), &op, {}};
    }

    // What LoadSetupFile makes of project number's setup.dat, starting from p.
    ProjectSetup LoadedSetup(int number, ProjectSetup p = ProjectSetup())
    {
        p.Num_proj = static_cast<qint16>(number);
        LoadSetupFile(p, Context(number));
        return p;
    }

    // A setup with a value of its own in every field, so a test can tell
    // what came from a file from what was there before.
    static ProjectSetup Distinct(int number)
    {
        ProjectSetup p;
        p.Num_proj = static_cast<qint16>(number);
        p.Name = QStringLiteral("Zebrafish, day 5");
        p.Working_folder = QStringLiteral("D:\\data\\p%1\\").arg(number);
        p.Plate_format = QStringLiteral("w384");
        p.Aq_mode = 2; p.Aq_lapse = 1440; p.Sample_Rate = 50; p.RT_Buffer = 250; p.DSP_Method = 0; p.DSP_Interval = 20;
        p.Binary_Acq = 0; p.Threshold_Counter = 150; p.Cal_value = 70; p.Cal_mode = 2; p.Save_counts = 0; p.Save_real = 0;
        p.Menu1 = 0; p.Menu2 = 1; p.Menu3 = 1; p.Menu4 = 4; p.Menu5 = 5; p.Menu6 = 6;
        for (int row = 1; row <= 6; ++row)
            for (int c = 0; c < 6; ++c)
                p.MenuParam[row][c] = static_cast<qint16>(10 * row + c);
        return p;
    }

    // The bytes of setup.dat as SaveProject writes them for p.
    QByteArray SetupBytes(const ProjectSetup& p)
    {
        QTemporaryDir scratch;
        SaveProject(p, scratch.path());
        return ReadAll(QDir(scratch.path()).filePath(QStringLiteral("setup.dat")));
    }

    // The first n lines (with their line ends) of a file's bytes.
    static QByteArray FirstLines(const QByteArray& bytes, int n)
    {
        qsizetype at = 0;
        for (int i = 0; i < n; ++i)
            at = bytes.indexOf('\n', at) + 1;
        return bytes.left(at);
    }

    QTemporaryDir tmp;
    QString app = tmp.path();
    ScriptedOperator op;
};

} // namespace bandora::test
