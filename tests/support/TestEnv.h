#pragma once
// A fresh world for one test: a temporary working folder (made current), a
// temporary documents folder, a scripted prompt, a fake clock, and the
// program-wide state and windows reset.

#include "platform/Clock.h"
#include "platform/Prompt.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class QWidget;

namespace zq::test {

class TestEnv {
public:
    // UTC 2026-09-12 18:30:00, local offset -5 h unless told otherwise.
    TestEnv();
    ~TestEnv();

    ScriptedPrompt& prompt() { return *prompt_; }
    FakeClock& clock() { return *clock_; }
    QString workDir() const { return work_.path(); }
    QString documentsDir() const { return docs_.path(); }
    // The XDG configuration folder while the test runs (the per-user
    // settings store is under it).
    QString configDir() const;

    // Path of a file in the working folder.
    QString workPath(const QString& name) const;
    void writeWorkFile(const QString& name, const QByteArray& content) const;
    QByteArray readWorkFile(const QString& name) const;
    // Copies a shipped data file from data/ into the working folder.
    void seedDataFile(const QString& name) const;

private:
    QTemporaryDir work_;
    QTemporaryDir docs_;
    QString oldCwd_;
    QByteArray oldConfigHome_;
    bool hadConfigHome_ = false;
    ScriptedPrompt* prompt_ = nullptr;
    FakeClock* clock_ = nullptr;
};

// Resets every program-wide owner to its start-of-run state.
void resetProgramState();

// Shows a window and makes it the active one, as the operator's click would.
void showActive(QWidget& w);

} // namespace zq::test
