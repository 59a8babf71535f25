#include "highlight/HLFactory.h"

#include <map>

#include "highlight/ABSHighLighter.h"

namespace HLFactory {

namespace {
std::map<int, Creator>& registry() {
    static std::map<int, Creator> r;
    return r;
}
} // namespace

void Register(int code, Creator creator) {
    if (creator)
        registry()[code] = std::move(creator);
    else
        registry().erase(code);
}

void Unregister(int code) { registry().erase(code); }

void UnregisterAll() { registry().clear(); }

bool IsRegistered(int code) { return registry().count(code) != 0; }

Creator Find(int code) {
    const auto it = registry().find(code);
    return it == registry().end() ? Creator() : it->second;
}

std::unique_ptr<WABSHighLighter> Create(int code, WABSCollection* collection) {
    const auto it = registry().find(code);
    if (it == registry().end()) return nullptr;
    return it->second(code, collection);
}

} // namespace HLFactory
