#include "core/NameValueList.h"

namespace pavlora {

QString TNameValueList::Value(const QString& name) const
{
    return Value(name, QString());
}

QString TNameValueList::Value(const QString& name, const QString& fallback) const
{
    const qsizetype index = IndexOfName(name);
    return index >= 0 ? entries_.at(index).value : fallback;
}

qsizetype TNameValueList::IndexOfName(const QString& name) const
{
    return index_.value(Key(name), -1);
}

void TNameValueList::SetValue(const QString& name, const QString& value)
{
    if (value.isEmpty()) {
        Remove(name);
        return;
    }
    const qsizetype index = IndexOfName(name);
    if (index >= 0) {
        entries_[index] = Entry{name, value};
        return;
    }
    index_.insert(Key(name), entries_.size());
    entries_.append(Entry{name, value});
}

bool TNameValueList::Remove(const QString& name)
{
    const qsizetype index = IndexOfName(name);
    if (index < 0)
        return false;
    entries_.removeAt(index);
    Reindex();
    return true;
}

void TNameValueList::Clear()
{
    entries_.clear();
    index_.clear();
}

void TNameValueList::Reindex()
{
    index_.clear();
    for (qsizetype i = 0; i < entries_.size(); ++i)
        index_.insert(Key(entries_.at(i).name), i);
}

bool operator==(const TNameValueList& a, const TNameValueList& b)
{
    if (a.entries_.size() != b.entries_.size())
        return false;
    for (qsizetype i = 0; i < a.entries_.size(); ++i) {
        if (a.entries_.at(i).name != b.entries_.at(i).name || a.entries_.at(i).value != b.entries_.at(i).value)
            return false;
    }
    return true;
}

} // namespace pavlora
