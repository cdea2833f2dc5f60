#pragma once

#include "skin/DesignErrors.h"
#include "skin/FormConfig.h"
#include "core/ResourceName.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>

namespace pavlora {

class TECPictureResource;
class TStyleRegistry;
class TZipArchive;

// Raised when no design folder has a resource.
class EResourceNotFound : public std::runtime_error {
public:
    explicit EResourceNotFound(const QString& name);
};

// Where a resource was found.
struct TResourceLocation {
    int slot = -1;
    QString filePath; // the file, or the archive
    QString archiveMember; // the member inside the archive, or empty

    // The file path, or "archive:member".
    QString Describe() const;
};

// Finds every file of the skin and of the service's data in five design
// folders ("slots"), from the most specific to the most general:
//
//   4 data language folder      <data folder>.<language extension>
//   3 data folder
//   2 resource language folder  <program folder>/Resources.<extension>  (or .zip)
//   1 resource folder           <program folder>/Resources              (or .zip)
//   0 program folder
//
// Names are relative, "/" or "\" separated, and confined to their folder.
// Files are matched without regard to case. Every resource goes through the
// data-document decoding, so stored variants read transparently. The manager
// also reads the designs ("Design.dat") into a style registry and the form
// configurations ("Forms.dat").
//
// Used on the UI thread; lookups are also safe from workers. Reloading the
// designs builds a new style registry and publishes it, then emits
// designsChanged (queued to receivers on other threads).
class TECResourceManager : public QObject {
    Q_OBJECT

public:
    explicit TECResourceManager(TSkinReporter& reporter, QObject* parent = nullptr);
    ~TECResourceManager() override;

    // Settings; each recomputes the slots (and reloads the designs once
    // EnableDesignReload was called).
    void SetProgramFolder(const QString& folder);
    void SetDataFolder(const QString& folder);
    void SetLanguageExtension(const QString& extension);
    void SetResourceFileName(const QString& name);
    void SetDesignFileName(const QString& name);
    // From now on every change of the folders reloads the designs.
    void EnableDesignReload();

    QString ProgramFolder() const;
    QString DataFolder() const;
    QString LanguageExtension() const;
    // The slot's folder with a trailing "/", or empty when it does not exist.
    QString Slot(int index) const;

    bool ResourceExists(const QString& name) const;
    std::optional<TResourceLocation> FindResource(const QString& name) const;
    // The decoded bytes of the first slot that can deliver the resource.
    // Raises EResourceNotFound.
    QByteArray GetResource(const QString& name) const;

    // The shared picture of that name, or none (after a warning when the
    // picture exists but cannot be shown).
    std::shared_ptr<const TECPictureResource> GetPicture(const QString& name);

    // Reads the design files and "Forms.dat" again.
    void ReloadDesigns();
    std::shared_ptr<TStyleRegistry> Styles() const;
    bool StylesLoaded() const;
    // The configuration of a window class, or none.
    std::optional<TFormConfig> FormConfiguration(const QString& className) const;
    // The slot "Forms.dat" was read from, or -1.
    int FormsSlot() const;

    TDesignErrors& DesignErrors() { return designErrors_; }

Q_SIGNALS:
    void designsChanged();

private:
    void ComputeSlots();
    std::optional<TResourceLocation> LocateInSlot(int slot, const QString& normalized) const;
    std::optional<QByteArray> ReadFromSlot(const TResourceLocation& location) const;
    bool ReadDesignFromSlot(int slot, TStyleRegistry& registry);

    TSkinReporter& reporter_;
    TDesignErrors designErrors_;

    mutable std::recursive_mutex mutex_;
    QString programFolder_;
    QString dataFolder_;
    QString languageExtension_;
    QString resourceFileName_ = QStringLiteral("Resources");
    QString designFileName_ = QStringLiteral("Design.dat");
    std::array<QString, 5> slots_;
    std::array<std::unique_ptr<TZipArchive>, 2> archives_; // slots 1 and 2
    mutable TCaseInsensitiveResolver resolver_;
    bool reloadEnabled_ = false;
    bool dataDesigns_ = false;
    bool stylesLoaded_ = false;
    std::shared_ptr<TStyleRegistry> styles_;
    QList<TFormConfig> formConfigs_;
    int formsSlot_ = -1;
    QHash<QString, std::weak_ptr<const TECPictureResource>> pictures_; // lower-case name
};

} // namespace pavlora
