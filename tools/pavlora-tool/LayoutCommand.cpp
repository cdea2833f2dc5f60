// pavlora-tool layout check [--program DIR] [--data DIR] FILE
// Loads a layout file (a photobook ".pbf"/".pbd", a layout list ".pbl" or
// cover backgrounds ".pbc") as the program does and validates it. Prints
// tab-separated lines: "pages" and the page count (inner pages of a
// photobook, page layouts of a list), "slots" and the number of picture
// slots, "filled" and the number of slots with a picture, then one line per
// page or print layout with problems: "page" or "print", its index, the
// hint heading and each problem's text. A file that cannot be loaded prints
// its error and exits 1.

#include "ImageCommands.h"
#include "ToolCommand.h"

#include "layout/LayoutFile.h"
#include "layout/PhotoBookDef.h"

#include "core/PathPlaceholders.h"
#include "core/QORException.h"
#include "core/XMLUtils2.h"
#include "imaging/TextService.h"

#include <QDir>
#include <QFileInfo>

#include <pugixml.hpp>

namespace pavlora::tool {
namespace {

struct TSlotCount {
    int slots = 0;
    int filled = 0;

    void Add(const TPrintDef& print)
    {
        for (const TPictureDef& picture : print.Pictures()) {
            ++slots;
            if (picture.Photo().Valid())
                ++filled;
        }
    }
    void Add(const TPageDef& page)
    {
        for (const TPrintDef& print : page.Prints())
            Add(print);
    }
};

// The problems of a page as the photobook page shows them in its hint.
QStringList ProblemFields(int problems)
{
    QStringList fields{QStringLiteral("Auf dieser Seite gibt es folgende Probleme:")};
    if (problems & 1)
        fields.append(QStringLiteral("Bilder in geringer Qualität sind vorhanden."));
    if (problems & 2)
        fields.append(QStringLiteral("Text wurde abgeschnitten."));
    return fields;
}

int PrintProblems(const TPrintDef& print)
{
    return (print.QualityProblem(kProblemLowQuality) ? 1 : 0) | (print.QualityProblem(kProblemTextCut) ? 2 : 0);
}

void PrintSummary(int pages, const TSlotCount& count)
{
    PrintOut(QStringLiteral("pages\t%1").arg(pages));
    PrintOut(QStringLiteral("slots\t%1").arg(count.slots));
    PrintOut(QStringLiteral("filled\t%1").arg(count.filled));
}

void PrintProblemLine(const char* kind, int index, int problems)
{
    if (problems == 0)
        return;
    PrintOut(QStringList{QLatin1String(kind), QString::number(index)}.join(QLatin1Char('\t')) + QLatin1Char('\t')
        + ProblemFields(problems).join(QLatin1Char('\t')));
}

void CheckPhotoBook(const QString& path, pugi::xml_node root)
{
    const QString folder = PictureFolderFor(path);
    TPhotoBookDef book;
    book.LoadFrom(root, QFileInfo(folder).isDir() ? folder : QString(), kDefVersion10);
    TSlotCount count;
    for (const TPageDef& page : book.Pages())
        count.Add(page);
    PrintSummary(book.PageCount(), count);
    for (int i = 0; i < book.Pages().Count(); ++i)
        PrintProblemLine("page", i, book.Pages()[i].Problems());
}

void CheckCollection(const QString& path)
{
    const std::unique_ptr<TLayoutCollection> collection = LoadLayoutCollection(path);
    TSlotCount count;
    for (const TPageDef& page : collection->pages)
        count.Add(page);
    for (const TPrintDef& print : collection->prints)
        count.Add(print);
    PrintSummary(collection->pages.Count(), count);
    for (int i = 0; i < collection->pages.Count(); ++i)
        PrintProblemLine("page", i, collection->pages[i].Problems());
    for (int i = 0; i < collection->prints.Count(); ++i)
        PrintProblemLine("print", i, PrintProblems(collection->prints[i]));
}

} // namespace

int RunLayoutCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption program = ProgramOption();
    const QCommandLineOption data(QStringLiteral("data"),
        QStringLiteral("The data folder \"{Data}\" stands for (default: the program folder's \"Data\")."),
        QStringLiteral("DIR"));
    parser.addOption(program);
    parser.addOption(data);
    parser.addPositionalArgument(QStringLiteral("check"), QStringLiteral("The subcommand."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The layout file."));
    const int parsed = ParseCommandLine(parser, arguments,
        QStringLiteral("Usage: pavlora-tool layout check [--program DIR] [--data DIR] FILE\n\n"
                       "Loads and validates a layout file; prints its page count, picture slots, filled slots "
                       "and the problems of its pages."));
    if (parsed >= 0)
        return parsed;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2 || positional.front() != QLatin1String("check"))
        return UsageError(QStringLiteral("layout needs 'check FILE'"), QStringLiteral("layout"));
    if (!SetUpImaging(parser, program))
        return kExitFailure;
    QString dataFolder = parser.value(data);
    if (dataFolder.isEmpty() && parser.isSet(program))
        dataFolder = QDir(parser.value(program)).filePath(QStringLiteral("Data"));
    if (!dataFolder.isEmpty())
        RegisterPathPlaceholder(QStringLiteral("{Data}"), QFileInfo(dataFolder).absoluteFilePath());
    TTextService::Initialize();

    const QString path = positional.at(1);
    try {
        if (!QFileInfo(path).isFile())
            throw EQORException(2, QStringLiteral("File not found"), path, QStringLiteral("pavlora-tool.layout"));
        const TXMLDocumentPtr document = ReadXMLDocument(path);
        const pugi::xml_node root = document->document_element();
        if (QLatin1String(root.name()) == QLatin1String("photobook_def"))
            CheckPhotoBook(QFileInfo(path).absoluteFilePath(), root);
        else
            CheckCollection(path);
    } catch (const EQORException& failure) {
        PrintError(TabField(failure.Message()));
        return kExitFailure;
    } catch (const std::exception& failure) {
        PrintError(TabField(QString::fromUtf8(failure.what())));
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace pavlora::tool
