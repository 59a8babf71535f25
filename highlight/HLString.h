#pragma once
// Reader of a condition string: "+17:F;A;-21:123^4;O;+24:1SMITH".
// Items at even positions are conditions, at odd positions connectors
// ("A" = And, anything else = Or).
#include <array>
#include <stdexcept>
#include <string>
#include <vector>

// A text that should have been a decimal number.
class EHLConvertError : public std::runtime_error {
public:
    explicit EHLConvertError(const std::string& text);
};

// Text to integer with an optional sign, as the condition strings write it;
// throws EHLConvertError otherwise.
int HLStrToInt(const std::string& s);

class WHLString {
public:
    // The group combines at most this many conditions; connectors after
    // that are never needed and are not kept.
    static constexpr int kMaxConnectors = 10;

    WHLString() = default;

    void Clear();
    void SetText(const std::string& s);

    int Count() const { return FCount; }
    // Connector K (after condition K, from 0); false (Or) for any other K.
    bool IsAnd(int k) const;
    // Condition item K as stored; empty outside 0..Count-1.
    std::string GetItem(int k) const;
    bool IsInverted(int k) const;
    // Absolute value of the code field; 0 for an empty item.
    int GetCode(int k) const;
    std::string GetParams(int k) const;

private:
    int FCount = 0;
    std::array<bool, kMaxConnectors> FAnd{};
    std::vector<std::string> FItems;
};
