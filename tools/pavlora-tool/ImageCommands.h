#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

namespace pavlora::tool {

// The "image" subcommands, one file each.
int RunImageInfoCommand(const QStringList& arguments);
int RunImageThumbCommand(const QStringList& arguments);
int RunImageKeywordsCommand(const QStringList& arguments);
int RunImageConvertCommand(const QStringList& arguments);

// The "--program DIR" option every image subcommand takes.
QCommandLineOption ProgramOption();

// Applies "--program DIR" (the program folder and its Debug.cfg) and
// registers the picture facade. Returns false after printing an error.
bool SetUpImaging(const QCommandLineParser& parser, const QCommandLineOption& program);

// A text for one tab-separated field: tabs and line breaks become blanks.
QString TabField(const QString& text);

} // namespace pavlora::tool
