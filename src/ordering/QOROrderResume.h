#pragma once

#include "ordering/QORRecords.h"

#include <QString>

#include <stdexcept>

namespace pugi {
class xml_document;
} // namespace pugi

namespace pavlora {

// A resume file that cannot be accepted (another version, or none).
class EIncompatibleResumeFile : public std::runtime_error {
public:
    EIncompatibleResumeFile()
        : std::runtime_error("order resume file not compatible.")
    {
    }
};

// The progress of an online order's upload, kept in "resume.dat" in the
// order folder so that an interrupted order can be completed later. Written
// when the upload starts and after every file that has completely reached
// the server. A plain value; the upload worker owns it while it runs.
class TQOROrderResume {
public:
    static constexpr char kFileName[] = "resume.dat";

    // Reads `folder` + "resume.dat"; the order folder becomes `folder`.
    // Raises EIncompatibleResumeFile for a version other than "1.0" (or
    // none), EQORException when the file cannot be read.
    static TQOROrderResume FromFolder(const QString& folder);

    // Writes "resume.dat" into the order folder through a temporary sibling,
    // encrypted unless "DisableEncrypting" is on.
    void Save() const;

    // The document form of the file.
    void WriteTo(pugi::xml_document& document) const;
    static TQOROrderResume ReadFrom(const pugi::xml_document& document, const QString& folder);

    // The order folder with a trailing separator.
    QString orderFolder;
    QString sessionId;
    int totalFiles = 0;
    int filesDone = 0;
    QString lastName; // always empty; kept as the file has it
    QString orderDate; // the user's short date format
    float orderTotal = 0.0F;
    int itemCount = 0;
    TQORPaymentType paymentType = TQORPaymentType::ptCreditCard;
    bool kept = false; // in memory only: used to resume an order

    QString FilePath() const;
};

} // namespace pavlora
