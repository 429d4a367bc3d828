#pragma once

#include "app/services.h"
#include "common/messages.h"
#include "input/file_chooser.h"
#include "run/process_starter.h"
#include "run/volumes.h"

#include <QCursor>
#include <QGuiApplication>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace gridloom::testing {

/// One message box that would have been shown.
struct ShownMessage {
    enum class Kind { Job, Dialog, Path, Plain };
    Kind kind;
    QString text;
    bool operator==(const ShownMessage&) const = default;
};

/// Records message boxes instead of showing them, so no test ever blocks on a modal box.
class RecordingMessages final : public Messages {
public:
    void jobError(const QString& text) override
    {
        shown.push_back({ShownMessage::Kind::Job, text});
    }
    void dialogError(const QString& text) override
    {
        shown.push_back({ShownMessage::Kind::Dialog, text});
    }
    void pathError(const QString& text) override
    {
        shown.push_back({ShownMessage::Kind::Path, text});
    }
    void plain(const QString& text) override { shown.push_back({ShownMessage::Kind::Plain, text}); }

    /// The texts shown so far, in order.
    QStringList texts() const
    {
        QStringList result;
        for (const auto& message : shown)
            result << message.text;
        return result;
    }
    /// The last text shown, or an empty text when none was.
    QString last() const { return shown.empty() ? QString() : shown.back().text; }
    void clear() { shown.clear(); }

    std::vector<ShownMessage> shown;
};

/// Answers the file dialog with the files queued for it; an empty answer is a cancel.
class ScriptedFileChooser final : public FileChooser {
public:
    QStringList chooseInputFiles(QWidget*, const QString& initialFolder) override
    {
        initialFolders << initialFolder;
        if (answers.empty())
            return {};
        QStringList answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::vector<QStringList> answers;
    QStringList initialFolders;
};

/// Records what would have been started, and whether the busy pointer was up then; can be
/// told to fail.
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

/// Volumes a test decides on.
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
    QString programFolder;

    Services services() { return Services{messages, files, starter, volumes, programFolder}; }
};

} // namespace gridloom::testing
