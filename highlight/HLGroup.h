#pragma once
// The highlighter of a whole condition set: up to ten conditions joined by
// And / Or, And binding tighter, evaluated with short circuit.
#include <array>
#include <memory>
#include <string>

#include "highlight/ABSHighLighter.h"
#include "highlight/HLString.h"

class WHLGroup : public WABSHighLighter {
public:
    static constexpr int kMaxConditions = 10;
    static constexpr int kMaxNodes = 20;
    static constexpr const char* kTooManyMessage = "Error: Too many high lighting options";

    explicit WHLGroup(WABSCollection* ACollection);
    ~WHLGroup() override;

    // Reads the condition string and creates its conditions; does not recalculate.
    void SetConditions(const std::string& S);
    // AConnector joins this condition to the next one created (true = And).
    void AddCondition(bool ANegated, std::int32_t ACode, const std::string& AParam, bool AConnector);
    void ClearConditions();

    std::int32_t ConditionCount() const { return FCount; }
    WABSHighLighter* GetCondition(std::int32_t K) const;
    // True when condition K is joined to condition K + 1 by And.
    bool IsConnectorAnd(std::int32_t K) const;
    // The expression over the created conditions ("0 A 1 O 2").
    std::string BuildExpression() const;
    std::int32_t NodeCount() const { return FNodeCount; }
    const WHLString& Reader() const { return FReader; }

    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;

private:
    struct Node {
        bool isOperator = false;
        bool isAnd = false;
        std::int32_t condition = -1;
        std::int32_t left = 0;
        std::int32_t right = 0;
    };

    void ParseExpression(const std::string& E, std::int32_t N);
    std::int32_t NewNode();
    bool EvalNode(std::int32_t N, std::int32_t AIndex);

    WHLString FReader;
    std::int32_t FCount = 0;
    std::array<std::unique_ptr<WABSHighLighter>, kMaxConditions> FConditions;
    std::array<bool, kMaxConditions> FConnectors{};
    std::array<Node, kMaxNodes + 1> FNodes{}; // 1..kMaxNodes; 0 unused
    std::int32_t FNodeCount = 0;
};
