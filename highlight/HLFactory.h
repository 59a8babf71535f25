#pragma once
// Condition factory: condition code -> creator. The condition classes
// register themselves here; a code without a creator creates nothing.
#include <functional>
#include <memory>

class WABSCollection;
class WABSHighLighter;

namespace HLFactory {

using Creator = std::function<std::unique_ptr<WABSHighLighter>(int code, WABSCollection* collection)>;

// Replaces any creator the code had; an empty creator removes it.
void Register(int code, Creator creator);
void Unregister(int code);
void UnregisterAll();
bool IsRegistered(int code);
// The creator of the code; empty when it has none.
Creator Find(int code);
// A new condition for the code, or nullptr when the code has no creator.
std::unique_ptr<WABSHighLighter> Create(int code, WABSCollection* collection);

} // namespace HLFactory
