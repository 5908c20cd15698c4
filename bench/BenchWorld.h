#pragma once
// The program's surroundings for a benchmark that opens windows: temporary
// working and documents folders (the working one current), the program's
// folders set to them, a scripted prompt, and every window unloaded at the
// start and at the end.

#include "platform/Folders.h"
#include "common/WindowRegistry.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace zq::bench {

struct BenchWorld {
    QTemporaryDir work;
    QTemporaryDir docs;

    BenchWorld()
    {
        WindowRegistry::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setPrompt(std::make_unique<ScriptedPrompt>());
        setDocumentsFolderOverride(docs.path());
        auto& f = Folders::instance();
        f.WorkingDirectory = work.path();
        f.UserDirectory = docs.path() + QStringLiteral("/Brelvox Software/Carvonia");
        f.SharedDirectory = docs.path() + QStringLiteral("/Brelvox Software/Shared");
        QDir().mkpath(f.UserDirectory + QStringLiteral("/BACKUP"));
        QDir().mkpath(f.SharedDirectory);
        QDir::setCurrent(work.path());
    }
    ~BenchWorld()
    {
        WindowRegistry::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setPrompt(nullptr);
        setDocumentsFolderOverride(QString());
    }
    BenchWorld(const BenchWorld&) = delete;
    BenchWorld& operator=(const BenchWorld&) = delete;

    // Writes a file of the working folder.
    void writeFile(const QString& name, const QByteArray& data) const
    {
        QFile file(work.path() + QLatin1Char('/') + name);
        if (file.open(QIODevice::WriteOnly))
            file.write(data);
    }
};

} // namespace zq::bench
