#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace pugi {
class xml_node;
} // namespace pugi

namespace pavlora {

// An exchange record: what the order side knows about one catalogue entry
// (its article, prices, page-count range). The order side derives its
// record classes from this one and registers them by name; a record names
// its class in its attribute "type".
//
// Records are made and read on the UI thread; the class register is
// process-wide and locked.
class TXchg {
public:
    TXchg() = default;
    virtual ~TXchg() = default;
    TXchg(const TXchg&) = default;
    TXchg& operator=(const TXchg&) = default;

    // Reads "id" and "type"; both are required. A missing one raises
    // EQORException code 3 with "\"id\" not defined for xchg" or
    // "\"type\" not defined for xchg". Derived classes read their own
    // attributes after calling this.
    virtual void ReadXML(pugi::xml_node element);

    // Full id of the catalogue entry the record belongs to.
    const QString& Id() const { return id_; }
    void SetId(const QString& id) { id_ = id; }
    // Name under which the record's class is registered.
    const QString& Type() const { return type_; }
    void SetType(const QString& type) { type_ = type; }
    // The part of the id before the first ".".
    QString GroupId() const;

    // The page-count range of a photobook article; 0 when the record has
    // none. Filled by the order side.
    int MinPageCount() const { return minPageCount_; }
    int MaxPageCount() const { return maxPageCount_; }
    void SetPageCountRange(int minimum, int maximum)
    {
        minPageCount_ = minimum;
        maxPageCount_ = maximum;
    }

    // The shared empty record of items that have no link of their own nor
    // an ancestor with one.
    static const TXchg& EmptyDefault();

private:
    QString id_;
    QString type_;
    int minPageCount_ = 0;
    int maxPageCount_ = 0;
};

using TXchgFactory = std::function<std::unique_ptr<TXchg>()>;

// The process-wide register of exchange record classes, sorted by name
// without regard to case. Safe from any thread.
namespace XchgClasses {

// Registers `factory` under `name`. A second registration of a name (in any
// case) raises EQORException code 3.
void Register(const QString& name, TXchgFactory factory);
// Removes a registration (tests, and a module that goes away).
void Unregister(const QString& name);
bool IsRegistered(const QString& name);
// A new record of the class registered under `name`; an unknown name raises
// EQORException code 3 with the name as its text.
std::unique_ptr<TXchg> Create(const QString& name);
// Reads a record: creates it by its "type" attribute and reads it.
std::unique_ptr<TXchg> CreateFromXML(pugi::xml_node element);

} // namespace XchgClasses
} // namespace pavlora
