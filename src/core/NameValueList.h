#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace pavlora {

// An ordered list of name=value pairs whose names compare without regard to
// case: the settings of AppIni.dat files and the user settings.
//
// Setting a name keeps its position and takes the spelling of the name as
// last written; setting an empty value removes the name, so that a later
// settings file can delete a setting of an earlier one. Not thread-safe: an
// owner that shares a list across threads guards it.
class TNameValueList {
public:
    struct Entry {
        QString name;
        QString value;
    };

    // The value of `name`, or an empty text when the name is absent.
    QString Value(const QString& name) const;
    // The value of `name`, or `fallback` when the name is absent.
    QString Value(const QString& name, const QString& fallback) const;
    bool Contains(const QString& name) const { return IndexOfName(name) >= 0; }
    // Position of `name`, or -1.
    qsizetype IndexOfName(const QString& name) const;

    // Sets `name` to `value`; an empty value removes the name.
    void SetValue(const QString& name, const QString& value);
    // Removes `name`; returns whether it was present.
    bool Remove(const QString& name);
    void Clear();

    qsizetype Count() const { return entries_.size(); }
    bool IsEmpty() const { return entries_.isEmpty(); }
    const Entry& At(qsizetype index) const { return entries_.at(index); }
    const QList<Entry>& Entries() const { return entries_; }
    QList<Entry>::const_iterator begin() const { return entries_.cbegin(); }
    QList<Entry>::const_iterator end() const { return entries_.cend(); }

    friend bool operator==(const TNameValueList& a, const TNameValueList& b);

private:
    static QString Key(const QString& name) { return name.toCaseFolded(); }
    void Reindex();

    QList<Entry> entries_;
    QHash<QString, qsizetype> index_; // case-folded name -> position in entries_
};

} // namespace pavlora
