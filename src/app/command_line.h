#pragma once

#include <QString>
#include <QStringList>

#include "app/mpris_logic.h"

// What the command line asks for. Without arguments Scribo simply starts.
struct CommandLine {
    // Command: run an action in the running Scribo (`--cmd NAME`) and end.
    enum Action { Run, Help, Version, Command, Fail } action = Run;
    mpris::OpenTarget target;  // Invalid when no file was named
    QString error;             // for Fail
    QString actionName;        // for Command, as given (checked by whoever runs it)

    bool hasTarget() const { return target.kind != mpris::OpenTarget::Invalid; }
    // The target as an address for OpenUri (a file: URI for local files).
    QString targetUri() const;
};

// Reads the arguments (without the program name); relative paths are taken from workingFolder.
// --help and --version win over anything else given with them; --cmd takes no file.
CommandLine ParseCommandLine(const QStringList& arguments, const QString& workingFolder);

QString HelpText();
QString VersionText();
