#include "core/QORError.h"

#include <QMutex>
#include <QMutexLocker>

namespace pavlora {
namespace {

QMutex lastErrorMutex;
TQORError lastError;

QString CommunicationText(const QString& code)
{
    return QStringLiteral("Kommunikationsproblem mit dem Server (Code %1). Bitte versuchen Sie es später "
                          "noch einmal.")
        .arg(code);
}

// The fixed message of a code of the table, or a null string for a code
// that the table does not name.
QString TableMessage(std::int32_t code)
{
    switch (code) {
    case 0:
        return QStringLiteral("Kein Fehler");
    case 45:
        return QStringLiteral("Es konnte keine Verbindung zu dem eingetragenen Proxy-Server aufgebaut werden. "
                              "Bitte überprüfen Sie Ihre Netzwerkverbindung.");
    case 46:
        return QStringLiteral("Die Verbindung ins Internet ist nicht zustande gekommen. Bitte überprüfen Sie "
                              "Ihre Netzwerkverbindung. ");
    case 47:
        return QStringLiteral("Es konnte keine Session mit dem Server hergestellt werden.");
    case 48:
    case 49:
        return CommunicationText(QStringLiteral("2000"));
    case 50:
        return QStringLiteral("Die von Ihnen ausgewählte Versandart ist zur Zahlungsart nicht kompatibel. "
                              "Bitte passen Sie Ihre Eingabe an.");
    case 51:
        return QStringLiteral("Probleme bei der Internetverbindung verhindern die korrekte Datenübertragung. "
                              "Bitte stellen Sie die Verbindung wieder her und versuchen Sie es erneut.");
    case 100:
        return QStringLiteral("Interner Server-Fehler bei der Single Sign-On Autorisierung.");
    case 101:
        return QStringLiteral("Die eingegebene Nummer Ihrer Bonuskarte ist ungültig. Bitte wiederholen Sie "
                              "Ihre Eingabe.");
    case 103:
        return QStringLiteral("Login fehlgeschlagen. Bitte überprüfen Sie Ihre Eingaben.");
    case 104:
        return QStringLiteral("Es existiert bereits ein Benutzer mit dieser eMail-Adresse. Bitte verwenden "
                              "Sie eine andere.");
    case 106:
        return QStringLiteral("Die angegebene Postleitzahl ist ungültig");
    case 109:
        return QStringLiteral("Unbekannte Gutschein-Nummer.");
    case 110:
        return QStringLiteral("Unbekannter Benutzer. Bitte überprüfen Sie Ihre eMail-Adresse.");
    case 111:
        return QStringLiteral("Ihre Antwort ist nicht korrekt. Bitte überprüfen Sie Ihre Eingabe und achten "
                              "Sie dabei auf die korrekte Schreibweise.");
    case 112:
        return QStringLiteral("Abbruch durch Benutzer");
    case 113:
        return QStringLiteral("Die angegebene E-Mail-Adresse ist ungültig");
    case 114:
        return QStringLiteral("Fehler bei der Auswahl der Lieblingsfiliale.");
    case 115:
        return QStringLiteral("Gutschein wurde bereits verwendet.");
    case 116:
        return QStringLiteral("Diese Client-Version ist veraltet. Bitte aktualisieren Sie Ihre Software.");
    case 132:
        return QStringLiteral("Die KreditkartenDaten sind ungültig.");
    case 133:
        return QStringLiteral("Dieser Kreditkartendatentyp wird nicht mehr unterstützt.");
    case 150:
        return QStringLiteral("Die Kreditkartennummer ist zu kurz");
    case 151:
        return QStringLiteral("Die Kreditkartendaten sind ungültig");
    case 152:
        return QStringLiteral("Die CVV-/CVC-Nummer ist zu kurz");
    case 153:
        return QStringLiteral("Bitte geben Sie Ihre Kreditkartendaten ein.");
    case 154:
        return QStringLiteral("Die angegebene Kontonummer ist ungültig");
    case 155:
        return QStringLiteral("Die angegebene Bankleitzahl ist ungültig");
    case 179:
        return QStringLiteral("Diese Zahlart steht Ihnen nicht zur Verfügung - begleichen Sie bitte Ihre "
                              "offenen Rechnungen!");
    case 201:
        return QStringLiteral("Funktion \"PopulateFields\" schlägt fehl: ");
    case 202:
        return QStringLiteral("Funktion \"DeleteFormat\" schlägt fehl: ");
    case 205:
        return QStringLiteral("Interner Fehler beim Einfügen des Produkts.");
    case 206:
        return QStringLiteral("Funktion \"CartHandling\" schlägt fehl: ");
    case 207:
        return QStringLiteral("Beim Aktualisieren der Preisliste ist ein Fehler aufgetreten. Es werden "
                              "weiterhin die alten Preise angezeigt. Um aktuelle Preise zu erhalten müssen Sie "
                              "den Vorgang wiederholen.");
    case 208:
        return QStringLiteral("XML-Datei korrupt: ");
    case 209:
        return QStringLiteral("Der Warenkorb konnte nicht berechnet werden. Bitte versuchen Sie es später noch "
                              "mal.");
    case 210:
        return QStringLiteral("Die Bestellübersicht konnte nicht geladen werden. Bitte versuchen Sie es "
                              "später noch mal.");
    case 211:
        return QStringLiteral("Datei konnte nicht geöffnet werden");
    case 212:
        return QStringLiteral("Es steht nicht mehr genügend Arbeitsspeicher zur Verfügung");
    case 213:
        return QStringLiteral("Der verfügbare Arbeitsspeicher wird knapp. Bitte schließen Sie ihre "
                              "Bestellung ab");
    case 214:
        return QStringLiteral("Die Preisinformationen sind möglicherweise veraltet. Möchten Sie die Preise "
                              "jetzt online aktualisieren?");
    case 215:
        return QStringLiteral("Der Warenkorb konnte nicht gespeichert werden!");
    case 300:
        return QStringLiteral("Die Zahlungsart wird nicht unterstützt.");
    case 400:
        return QStringLiteral("Das Bild konnte nicht geöffnet werden.");
    default:
        return {};
    }
}

bool IsCommunicationCode(std::int32_t code)
{
    return code == 40 || code == 118;
}

} // namespace

QString TQORError::Message() const
{
    if (IsCommunicationCode(code))
        return CommunicationText(codeText.isEmpty() ? QStringLiteral("2099") : codeText);
    const QString fixed = TableMessage(code);
    if (!fixed.isNull())
        return fixed;
    QString text = QStringLiteral("Fehler (Code %1)").arg(code);
    if (!codeText.isEmpty())
        text += QStringLiteral(": ") + codeText;
    return text;
}

QString TQORError::VerboseMessage() const
{
    QString text = Message();
    // A code outside the table already shows its code text.
    const bool codeTextShown = !IsCommunicationCode(code) && TableMessage(code).isNull();
    if (!codeText.isEmpty() && !codeTextShown)
        text += QStringLiteral(" (") + codeText + QLatin1Char(')');
    if (!detail.isEmpty())
        text += QStringLiteral(" [") + detail + QLatin1Char(']');
    if (!context.isEmpty())
        text += QStringLiteral(" @") + context;
    return text;
}

QString TQORError::HtmlMessage() const
{
    return Message().toHtmlEscaped();
}

TQORError LastError()
{
    QMutexLocker lock(&lastErrorMutex);
    return lastError;
}

void SetLastError(const TQORError& error)
{
    QMutexLocker lock(&lastErrorMutex);
    lastError = error;
}

} // namespace pavlora
