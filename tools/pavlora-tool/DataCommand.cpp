// pavlora-tool data decode [--key KEY | --ini APPINI] FILE
// pavlora-tool data encode --variant plain|xor|des [--key KEY | --ini APPINI] IN OUT
// pavlora-tool data check [--key KEY | --ini APPINI] FILE...
// Reads and writes the data documents of a deployment the way the program
// does.

#include "ToolCommand.h"

#include "core/DataKey.h"
#include "core/DataStream.h"
#include "core/QORException.h"
#include "core/XMLUtils2.h"

#include <QFile>

#include <pugixml.hpp>

#include <cstdio>

namespace pavlora::tool {
namespace {

const QString kUsage = QStringLiteral(
    "Usage: pavlora-tool data decode [--key KEY | --ini APPINI] FILE\n"
    "       pavlora-tool data encode --variant plain|xor|des [--key KEY | --ini APPINI] IN OUT\n"
    "       pavlora-tool data check [--key KEY | --ini APPINI] FILE...\n\n"
    "decode writes the bytes of a data document as stored inside its variant to stdout.\n"
    "encode parses IN and saves it as OUT the way the program saves its files.\n"
    "check decodes, parses and resolves the links of each FILE and prints FILE: ok or FILE: and the first error.\n"
    "The key is KEY, else the GlobalXOrKey of APPINI, else the built-in key.");

// Puts the key of the command line in force. Returns an exit status, or -1
// to go on.
int ApplyKey(const QCommandLineParser& parser, const QCommandLineOption& key, const QCommandLineOption& ini)
{
    if (parser.isSet(key) && parser.isSet(ini))
        return UsageError(QStringLiteral("data: give either --key or --ini"), QStringLiteral("data"));
    if (parser.isSet(key)) {
        if (parser.value(key).isEmpty()) {
            PrintError(QStringLiteral("pavlora-tool: data: Empty key"));
            return kExitFailure;
        }
        SetGlobalDataKey(parser.value(key));
        return -1;
    }
    if (parser.isSet(ini)) {
        const QString path = parser.value(ini);
        if (!QFile::exists(path)) {
            PrintError(QStringLiteral("pavlora-tool: data: %1: No such file").arg(path));
            return kExitFailure;
        }
        // AppIni.dat is stored plain or with the built-in key; the key it
        // names is then in force, whatever it is.
        TNameValueList settings;
        try {
            ResetGlobalDataKey();
            ReadIniFile(settings, path);
        } catch (...) {
            PrintError(QStringLiteral("%1: %2").arg(path, CurrentFailureText()));
            return kExitFailure;
        }
        SetGlobalDataKey(settings.Value(QStringLiteral("GlobalXOrKey")));
    }
    return -1;
}

int Decode(const QStringList& files)
{
    if (files.size() != 1)
        return UsageError(QStringLiteral("data decode needs exactly one FILE"), QStringLiteral("data"));
    const QString& path = files.front();
    QByteArray plain;
    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw EDataDocumentError(file.errorString());
        if (file.size() > kMaxStoredDocumentSize)
            throw EDataDocumentError(QStringLiteral("file too large"));
        plain = DecodeDataStream(file.read(kMaxStoredDocumentSize + 1));
    } catch (...) {
        PrintError(QStringLiteral("%1: %2").arg(path, CurrentFailureText()));
        return kExitFailure;
    }
    if (std::fwrite(plain.constData(), 1, static_cast<std::size_t>(plain.size()), stdout)
            != static_cast<std::size_t>(plain.size())
        || std::fflush(stdout) != 0) {
        PrintError(QStringLiteral("pavlora-tool: data decode: cannot write to stdout"));
        return kExitFailure;
    }
    return kExitSuccess;
}

int Encode(const QStringList& files, const QString& variantName)
{
    if (files.size() != 2)
        return UsageError(QStringLiteral("data encode needs IN and OUT"), QStringLiteral("data"));
    bool encrypt = true;
    EncryptVariant variant = EncryptVariant::Xor;
    if (variantName == QLatin1String("plain"))
        encrypt = false;
    else if (variantName == QLatin1String("des"))
        variant = EncryptVariant::Des;
    else if (variantName != QLatin1String("xor"))
        return UsageError(QStringLiteral("data encode needs --variant plain, xor or des"), QStringLiteral("data"));
    try {
        const TXMLDocumentPtr document = ReadXMLDocument(files.at(0));
        SaveXMLDocument(*document, files.at(1), encrypt, variant, true);
    } catch (...) {
        PrintError(CurrentFailureText());
        return kExitFailure;
    }
    return kExitSuccess;
}

int Check(const QStringList& files)
{
    if (files.isEmpty())
        return UsageError(QStringLiteral("data check needs at least one FILE"), QStringLiteral("data"));
    int status = kExitSuccess;
    for (const QString& path : files) {
        try {
            const TXMLDocumentPtr document = ReadXMLDocument(path);
            ResolveLinks(document->document_element());
            PrintOut(path + QStringLiteral(": ok"));
        } catch (...) {
            PrintOut(path + QStringLiteral(": ") + CurrentFailureText());
            status = kExitFailure;
        }
    }
    return status;
}

} // namespace

int RunDataCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption key(QStringLiteral("key"), QStringLiteral("The key text."), QStringLiteral("KEY"));
    const QCommandLineOption ini(QStringLiteral("ini"), QStringLiteral("An AppIni.dat whose GlobalXOrKey is the key."),
        QStringLiteral("APPINI"));
    const QCommandLineOption variant(QStringLiteral("variant"),
        QStringLiteral("encode: the stored variant, plain, xor or des."), QStringLiteral("VARIANT"));
    parser.addOptions({key, ini, variant});
    parser.addPositionalArgument(QStringLiteral("ACTION"), QStringLiteral("decode, encode or check."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The files."), QStringLiteral("FILE..."));
    const int parsed = ParseCommandLine(parser, arguments, kUsage);
    if (parsed >= 0)
        return parsed;

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return UsageError(QStringLiteral("data needs an action: decode, encode or check"), QStringLiteral("data"));
    const QString action = positional.takeFirst();
    if (action != QLatin1String("decode") && action != QLatin1String("encode") && action != QLatin1String("check"))
        return UsageError(QStringLiteral("data: unknown action '%1'").arg(action), QStringLiteral("data"));
    if (parser.isSet(variant) != (action == QLatin1String("encode")))
        return UsageError(QStringLiteral("data: --variant belongs to encode, which needs it"), QStringLiteral("data"));
    const int keyStatus = ApplyKey(parser, key, ini);
    if (keyStatus >= 0)
        return keyStatus;

    if (action == QLatin1String("decode"))
        return Decode(positional);
    if (action == QLatin1String("encode"))
        return Encode(positional, parser.value(variant));
    return Check(positional);
}

} // namespace pavlora::tool
