#pragma once

#include "app/services.h"
#include "common/messages.h"
#include "input/file_chooser.h"
#include "run/process_starter.h"
#include "run/volumes.h"

#include <QCursor>
#include <QGuiApplication>
#include <QSet>
#include <QStringList>
#include <utility>
#include <vector>

// Stand-ins for what the main window needs from the world outside it: they record what would
// have been shown or started, so no test blocks on a modal box or opens a console.
namespace gridloom::testing {

/// Each box as "<kind>: <text>", the kind being job, dialog, path or plain.
class RecordingMessages final : public Messages {
public:
    void jobError(const QString& text) override { shown << QStringLiteral("job: ") + text; }
    void dialogError(const QString& text) override { shown << QStringLiteral("dialog: ") + text; }
    void pathError(const QString& text) override { shown << QStringLiteral("path: ") + text; }
    void plain(const QString& text) override { shown << QStringLiteral("plain: ") + text; }
    QStringList shown;
};

/// Answers the file dialog with the files queued for it; no answer left is a cancel.
class ScriptedFileChooser final : public FileChooser {
public:
    QStringList chooseInputFiles(QWidget*, const QString& initialFolder) override
    {
        initialFolders << initialFolder;
        return answers.isEmpty() ? QStringList() : answers.takeFirst();
    }
    QList<QStringList> answers;
    QStringList initialFolders;
};

/// Records each start and whether the busy pointer was up then; fails with `failure` if set.
class RecordingStarter final : public ProcessStarter {
public:
    std::optional<QString> startInConsole(const QString& scriptPath,
                                          const QString& workingDirectory) override
    {
        started.push_back({scriptPath, workingDirectory});
        const QCursor* pointer = QGuiApplication::overrideCursor();
        busy = pointer && pointer->shape() == Qt::WaitCursor;
        return failure;
    }
    std::vector<std::pair<QString, QString>> started;
    std::optional<QString> failure;
    bool busy = false;
};

/// Volume roots a test decides on; those in notReady cannot be read.
class FakeVolumes final : public Volumes {
public:
    QStringList roots() const override { return rootList; }
    bool isReady(const QString& root) const override { return !notReady.contains(root); }
    QStringList rootList{QStringLiteral("/")};
    QSet<QString> notReady;
};

/// A full set of stand-ins, ready to hand to a MainWindow.
struct FakeServices {
    RecordingMessages messages;
    ScriptedFileChooser files;
    RecordingStarter starter;
    FakeVolumes volumes;
    QString programFolder = QStringLiteral("/opt/gridloom");

    Services services() { return Services{messages, files, starter, volumes, programFolder}; }
};

} // namespace gridloom::testing
