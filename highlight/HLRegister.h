#pragma once
// Registers the condition classes with the condition factory, one creator per
// condition code 2..113 (101 has none). Safe to call more than once.
namespace HLRegister {
void RegisterConditionClasses();
} // namespace HLRegister
