// The structure operations of the data-document layer: link expansion and
// the removal of empty elements. Both walk the tree with an explicit stack,
// so a deeply nested document cannot exhaust the call stack.

#include "core/XMLUtils2.h"

#include <pugixml.hpp>

#include <strings.h>

#include <unordered_map>
#include <vector>

namespace pavlora {
namespace {

// Limits of one ResolveLinks pass: a document that needs more is refused
// rather than allowed to eat the memory (links that expand into links).
constexpr int kMaxLinkNesting = 64;
constexpr std::size_t kMaxExpansions = 200000;
constexpr std::size_t kMaxCopiedNodes = 5000000;

bool NameIs(const pugi::xml_node node, const char* name)
{
    return node.type() == pugi::node_element && strcasecmp(node.name(), name) == 0;
}

bool IsOrgnameOrMid(const pugi::xml_attribute attribute)
{
    return strcasecmp(attribute.name(), "orgname") == 0 || strcasecmp(attribute.name(), "mid") == 0;
}

bool SameTextIgnoringCase(const char* a, const char* b)
{
    return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive) == 0;
}

// The nearest master named `mref`: among the children of `holder`, then of
// its parent and so on up to the document.
pugi::xml_node FindMaster(pugi::xml_node holder, const char* mref)
{
    for (pugi::xml_node scope = holder; scope; scope = scope.parent()) {
        for (const pugi::xml_node candidate : scope.children()) {
            if (NameIs(candidate, "master") && SameTextIgnoringCase(candidate.attribute("mid").value(), mref))
                return candidate;
        }
    }
    return {};
}

// Number of nodes below `node` (not counting it), stopping once past `limit`.
std::size_t CountNodes(const pugi::xml_node node, std::size_t limit)
{
    std::size_t count = 0;
    std::vector<pugi::xml_node> pending(node.children().begin(), node.children().end());
    while (!pending.empty() && count <= limit) {
        const pugi::xml_node next = pending.back();
        pending.pop_back();
        ++count;
        for (const pugi::xml_node child : next.children())
            pending.push_back(child);
    }
    return count;
}

// One link of the chain of masters that a copied element came from: a copy
// of master M's content inside a copy of master N's content has the chain
// M, N.
struct ChainLink {
    pugi::xml_node master;
    int parent; // index in the chain table, -1 at the top
    int depth;
};

class LinkResolver {
public:
    void Run(pugi::xml_node element)
    {
        struct Frame {
            pugi::xml_node element;
            pugi::xml_node next;
            int chain;
        };
        std::vector<Frame> stack{{element, element.first_child(), -1}};
        while (!stack.empty()) {
            Frame& frame = stack.back();
            pugi::xml_node child = frame.next;
            while (child && child.type() != pugi::node_element)
                child = child.next_sibling();
            if (!child) {
                stack.pop_back();
                continue;
            }
            const auto copied = expansionChains_.find(child.internal_object());
            const int chain = copied != expansionChains_.end() ? copied->second : frame.chain;
            if (NameIs(child, "link")) {
                Expand(frame.element, child, chain);
                // The expansion was appended, so a next sibling exists.
                frame.next = child.next_sibling();
                frame.element.remove_child(child);
                continue;
            }
            frame.next = child.next_sibling();
            stack.push_back(Frame{child, child.first_child(), chain});
        }
    }

private:
    void Expand(pugi::xml_node holder, const pugi::xml_node link, int chain)
    {
        const char* mref = link.attribute("mref").value();
        const pugi::xml_node master = FindMaster(holder, mref);
        if (!master)
            throw EDataDocumentError(QStringLiteral("master %1 not found").arg(QString::fromUtf8(mref)));
        // A link inside its own master, or inside content copied from a
        // master that leads back to it, would expand for ever.
        for (pugi::xml_node above = holder; above; above = above.parent()) {
            if (above == master)
                throw EDataDocumentError(QStringLiteral("link cycle at master %1").arg(QString::fromUtf8(mref)));
        }
        int depth = 0;
        for (int at = chain; at >= 0; at = chains_[static_cast<std::size_t>(at)].parent) {
            if (chains_[static_cast<std::size_t>(at)].master == master)
                throw EDataDocumentError(QStringLiteral("link cycle at master %1").arg(QString::fromUtf8(mref)));
        }
        if (chain >= 0)
            depth = chains_[static_cast<std::size_t>(chain)].depth + 1;
        if (depth >= kMaxLinkNesting || ++expansions_ > kMaxExpansions)
            throw EDataDocumentError(
                QStringLiteral("too many link expansions at master %1").arg(QString::fromUtf8(mref)));
        const char* orgname = master.attribute("orgname").value();
        if (!*orgname)
            throw EDataDocumentError(QStringLiteral("master %1 has no orgname").arg(QString::fromUtf8(mref)));
        copiedNodes_ += CountNodes(master, kMaxCopiedNodes) + CountNodes(link, kMaxCopiedNodes);
        if (copiedNodes_ > kMaxCopiedNodes)
            throw EDataDocumentError(
                QStringLiteral("too many link expansions at master %1").arg(QString::fromUtf8(mref)));

        pugi::xml_node expansion = holder.append_child(orgname);
        for (const pugi::xml_attribute attribute : master.attributes()) {
            if (!IsOrgnameOrMid(attribute))
                expansion.append_attribute(attribute.name()).set_value(attribute.value());
        }
        // Copies of the master's children carry the master in their chain:
        // a link in them that leads back to it is a cycle. The link's own
        // children are the holder's content and keep the holder's chain.
        chains_.push_back(ChainLink{master, chain, depth});
        const int masterChain = static_cast<int>(chains_.size() - 1);
        for (const pugi::xml_node child : master.children()) {
            const pugi::xml_node copy = expansion.append_copy(child);
            if (copy.type() == pugi::node_element)
                expansionChains_.emplace(copy.internal_object(), masterChain);
        }
        for (const pugi::xml_attribute attribute : link.attributes()) {
            if (IsOrgnameOrMid(attribute))
                continue;
            pugi::xml_attribute target = expansion.attribute(attribute.name());
            if (!target)
                target = expansion.append_attribute(attribute.name());
            target.set_value(attribute.value());
        }
        for (const pugi::xml_node child : link.children())
            expansion.append_copy(child);
    }

    std::vector<ChainLink> chains_;
    std::unordered_map<pugi::xml_node_struct*, int> expansionChains_; // copied master content -> chain
    std::size_t expansions_ = 0;
    std::size_t copiedNodes_ = 0;
};

} // namespace

void ResolveLinks(pugi::xml_node element)
{
    LinkResolver().Run(element);
}

void RemoveEmptyElements(pugi::xml_node element)
{
    struct Frame {
        pugi::xml_node element;
        pugi::xml_node next; // the next child to clean, walking backwards
    };
    std::vector<Frame> stack{{element, element.last_child()}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        pugi::xml_node child = frame.next;
        while (child && child.type() != pugi::node_element)
            child = child.previous_sibling();
        if (child) {
            frame.next = child.previous_sibling();
            stack.push_back(Frame{child, child.last_child()});
            continue;
        }
        const pugi::xml_node done = frame.element;
        stack.pop_back();
        if (!stack.empty() && !done.first_child() && !done.first_attribute())
            done.parent().remove_child(done);
    }
}

} // namespace pavlora
