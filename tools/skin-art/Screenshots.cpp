// pavlora-screenshots PROGRAM_FOLDER OUTPUT_FOLDER [PRICE_LIST_HTML]
// Shows the main window, a message box, the splash window and (given the
// page that "pavlora-tool pricelist --html" prints) the price list
// with the demo deployment on the offscreen platform and saves what the
// widgets paint (their own grab) as PNG files.

#include "core/AppSettings.h"
#include "skin/DesignErrors.h"
#include "skin/ECResourceManager.h"
#include "ui/FormInfoBox.h"
#include "ui/MainForm.h"
#include "ui/PriceListDialog.h"
#include "ui/Skin.h"
#include "ui/SplashForm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>

#include <cstdio>

using namespace pavlora;

namespace {

bool Save(QWidget& widget, const QString& path)
{
    const bool saved = widget.grab().save(path, "PNG");
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3 && arguments.size() != 4) {
        std::fprintf(stderr, "usage: pavlora-screenshots PROGRAM_FOLDER OUTPUT_FOLDER [PRICE_LIST_HTML]\n");
        return 2;
    }
    const QString output = arguments.at(2);
    QDir().mkpath(output);

    QElapsedTimer clock;
    clock.start();
    THeadlessSkinReporter reporter;
    TECResourceManager manager(reporter);
    manager.SetProgramFolder(arguments.at(1));
    manager.SetDataFolder(arguments.at(1) + QStringLiteral("/Data"));
    manager.EnableDesignReload();
    manager.ReloadDesigns();
    Skin::SetResourceManager(&manager);

    TNameValueList values;
    values.SetValue(QStringLiteral("apptitle"), QStringLiteral("Pavlora"));
    TMainFormServices services;
    services.startOnlineUpdate = [] {};
    TMainForm form(TAppSettings(values), services);
    // The commands the program has so far: settings, price list, cart.
    for (const int command : {10, 11, 12})
        form.RegisterCommand(command, [](const QStringList&) { return true; });
    form.Create();
    form.resize(1024, 700);
    form.show();
    QApplication::processEvents();
    std::printf("skin loaded and main window shown in %lld ms\n", static_cast<long long>(clock.elapsed()));
    bool ok = Save(form, output + QStringLiteral("/main-window.png"));

    TFormInfoBox::SetAnswerer([&](TFormInfoBox& box) {
        ok = Save(box, output + QStringLiteral("/message-box.png")) && ok;
        box.Press(QStringLiteral("Nein"));
    });
    TMessageBoxRequest request;
    request.text
        = QStringLiteral("Ein bearbeitetes Produkt ist unvollständig. Wenn Sie fortfahren werden unvollständige "
                         "Produkte gelöscht. Vollständige Produkte werden in den Warenkorb übertragen und "
                         "können von dort weiterbearbeitet oder bestellt werden.<br><br>Wollen Sie fortfahren?");
    request.buttons = {bYes, bNo};
    request.kind = MessageKind::Warning;
    request.height = 332;
    request.width = 425;
    form.ShowMessageBox(request);

    // The splash window as the start-up shows it.
    TSplashForm splash(QStringLiteral("Pavlora"));
    splash.Show();
    splash.SetStepText(QStringLiteral("Lesen der Produktdaten..."));
    QApplication::processEvents();
    ok = Save(splash, output + QStringLiteral("/splash.png")) && ok;

    if (arguments.size() == 4) {
        QFile page(arguments.at(3));
        if (!page.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(arguments.at(3)));
            return 1;
        }
        TPriceListDialog prices(QString::fromUtf8(page.readAll()), 720);
        prices.show();
        QApplication::processEvents();
        ok = Save(prices, output + QStringLiteral("/price-list.png")) && ok;
    }
    Skin::SetResourceManager(nullptr);
    return ok ? 0 : 1;
}
