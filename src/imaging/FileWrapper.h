#pragma once

#include <QString>

namespace pavlora {

// Makes any supported picture file readable by the picture decoders: a
// JPEG 2000 file (".jp2") is converted into a temporary JPEG, every other
// file is read directly.
//
// The temporary JPEG lives in the private per-user folder
// (AppFolders::UserCacheFolder() + "/tmp", mode 0700). Its name is derived
// from the source's full path, modification time and size and this
// process's id, so it belongs to exactly one version of one source and can
// be neither supplied nor taken over by another file or user. Readers of the
// same source share it: the first converts (the others wait for it), each
// holds a reference, and the last one to finish deletes it.
//
// A wrapper lives for one read; it may be used from any thread.
class TFileWrapper {
public:
    // Raises EQORException when the JPEG 2000 converter is missing or the
    // conversion fails (see Jp2Converter.h).
    explicit TFileWrapper(const QString& fileName);
    ~TFileWrapper();

    TFileWrapper(const TFileWrapper&) = delete;
    TFileWrapper& operator=(const TFileWrapper&) = delete;

    const QString& SourceName() const { return sourceName_; }
    // The file to read: the source itself or the temporary JPEG.
    const QString& FileName() const { return fileName_; }
    bool IsTemporary() const { return temporary_; }

    // Quality of the temporary JPEG.
    static constexpr int kJpegQuality = 90;

    // The temporary JPEG that a reader of `source` would use now (tests,
    // diagnostics); empty for a file that is read directly.
    static QString TemporaryNameFor(const QString& source);

private:
    QString sourceName_;
    QString fileName_;
    bool temporary_ = false;
};

} // namespace pavlora
