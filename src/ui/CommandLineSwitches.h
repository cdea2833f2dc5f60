#pragma once

#include <QString>
#include <QStringList>

namespace pavlora {

// What the program's command line asks for once the main window is up.
enum class TCommandLineMode {
    None,
    Prints, // "-PRINTS"
    ProductsPage, // "-PRODUCTTEASER"
    Products, // "-PRODUCTS"
    Teaser, // "-TEASER"
};

struct TCommandLineSwitches {
    QString commandText; // the command the last switch names, or empty
    TCommandLineMode mode = TCommandLineMode::None;
    QString listFile; // "-F": a file listing picture files, one a line
    bool deviceStart = false; // "-dd": started by the device detection
};

// Reads the program's arguments (without the program name and the launch
// token). Switches compare without regard to case; the last command switch
// wins; "-D" and "-F" take the next argument. Unknown arguments are ignored.
TCommandLineSwitches ParseCommandLineSwitches(const QStringList& arguments);

} // namespace pavlora
