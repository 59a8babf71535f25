#pragma once
// Base of every highlighter: one state byte per individual (0 not evaluated,
// 1 false, 2 true), an invert flag, the parameter text and the row colours.
#include <cstdint>
#include <string>

#include "model/ABSArrayIndex.h"
#include "platform/Colour.h"

class WABSCollection;

class WABSHighLighter : public WABSArrayIndex {
public:
    enum State : std::uint8_t { stUnknown = 0, stFalse = 1, stTrue = 2 };

    // Settings that hold the highlight background and text colours.
    static constexpr int kOptHLCol = 121;  // HLCol
    static constexpr int kOptHLTCol = 122; // HLTCol

    // ACount states, all stUnknown. ACode is the condition code the concrete
    // class stands for (0 for a group).
    WABSHighLighter(std::int32_t ACount, WABSCollection* ACollection, std::int32_t ACode = 0);
    ~WABSHighLighter() override;

    // Ignores the invert flag; evaluates on first ask.
    virtual bool GetResult(std::int32_t AIndex);
    // What every user outside the subsystem asks: the result with the invert
    // flag applied; false outside 1..Count.
    virtual bool IsHighlighted(std::int32_t AIndex);
    // Never evaluates.
    bool IsTrue(std::int32_t AIndex) const;
    bool IsEvaluated(std::int32_t AIndex) const;
    virtual void SetResult(std::int32_t AIndex, bool AValue);
    // Every state to AState (0 = decide lazily, 1 = all false before marking).
    virtual void Reset(std::uint8_t AState);
    virtual void SetParameter(const std::string& S) { FParameter = S; }
    const std::string& GetParameter() const { return FParameter; }
    void SetInvert(bool B) { FInvert = B; }
    bool GetInvert() const { return FInvert; }

    // Prepares a run; callers show the wait dialog around it.
    void Recalculate() { Prepare(); }

    virtual void Evaluate(std::int32_t AIndex) = 0;
    virtual void Prepare() = 0;
    virtual void GetDescription(std::string& S) = 0;

    plat::ColorRef GetBackColor(std::int32_t ARow);
    plat::ColorRef GetFontColor(std::int32_t ARow);
    static plat::ColorRef GetHighlightColor();
    static plat::ColorRef GetHighlightFontColor();

    void SetMarkCurrent(bool B) { FMarkCurrent = B; }
    bool GetMarkCurrent() const { return FMarkCurrent; }
    void SetCurrentIndex(std::int32_t I) { FCurrentIndex = I; }
    std::int32_t GetCurrentIndex() const { return FCurrentIndex; }
    void SetNormalColor(plat::ColorRef C) { FNormalColor = C; }
    void SetCurrentRowColor(plat::ColorRef C) { FCurrentColor = C; }

    WABSCollection* GetCollection() const { return FCollection; }
    std::int32_t GetConditionCode() const { return FConditionCode; }

protected:
    std::uint8_t state(std::int32_t AIndex) const;

    bool FMarkCurrent = true;
    WABSCollection* FCollection = nullptr;
    std::int32_t FCurrentIndex = 0;
    bool FInvert = false;
    plat::ColorRef FNormalColor = 0xFFFFFF;
    plat::ColorRef FCurrentColor = 0xFFFF00;
    std::int32_t FConditionCode = 0;
    std::string FParameter;
};
