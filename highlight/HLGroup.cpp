#include "highlight/HLGroup.h"

#include <charconv>

#include "highlight/HLFactory.h"
#include "model/ABSCollection.h"
#include "platform/Hooks.h"

WHLGroup::WHLGroup(WABSCollection* ACollection)
    : WABSHighLighter(ACollection ? ACollection->GetIndividualCount() : 0, ACollection) {}

WHLGroup::~WHLGroup() = default;

void WHLGroup::SetConditions(const std::string& S) {
    FReader.SetText(S);
    ClearConditions();
    const std::int32_t n = FReader.Count();
    for (std::int32_t k = 0; k < n; ++k) {
        const bool connector = k < n - 1 ? FReader.IsAnd(k) : true;
        const std::string param = FReader.GetParams(k);
        const std::int32_t code = FReader.GetCode(k); // may throw; earlier conditions stay
        const bool negated = FReader.IsInverted(k);
        AddCondition(negated, code, param, connector);
    }
}

void WHLGroup::AddCondition(bool ANegated, std::int32_t ACode, const std::string& AParam, bool AConnector) {
    if (FCount >= kMaxConditions) {
        plat::showMessage(kTooManyMessage);
        return;
    }
    std::unique_ptr<WABSHighLighter> c = HLFactory::Create(ACode, FCollection);
    if (!c) return;
    c->SetParameter(AParam);
    c->SetInvert(ANegated);
    FConditions[std::size_t(FCount)] = std::move(c);
    FConnectors[std::size_t(FCount)] = AConnector;
    ++FCount;
}

void WHLGroup::ClearConditions() {
    for (auto& c : FConditions) c.reset();
    FConnectors.fill(false);
    FCount = 0;
    FNodeCount = 0;
}

WABSHighLighter* WHLGroup::GetCondition(std::int32_t K) const {
    return K >= 0 && K < FCount ? FConditions[std::size_t(K)].get() : nullptr;
}

bool WHLGroup::IsConnectorAnd(std::int32_t K) const { return K >= 0 && K < FCount && FConnectors[std::size_t(K)]; }

std::string WHLGroup::BuildExpression() const {
    std::string e;
    for (std::int32_t k = 0; k < FCount; ++k) {
        if (k > 0) e += IsConnectorAnd(k - 1) ? " A " : " O ";
        e += std::to_string(k);
    }
    return e;
}

std::int32_t WHLGroup::NewNode() {
    if (FNodeCount >= kMaxNodes) return 0;
    ++FNodeCount;
    FNodes[std::size_t(FNodeCount)] = Node{};
    return FNodeCount;
}

void WHLGroup::ParseExpression(const std::string& E, std::int32_t N) {
    if (N < 1 || N > kMaxNodes) return;
    Node& node = FNodes[std::size_t(N)];
    node = Node{};
    // Splitting at the first Or before the first And makes And bind tighter.
    std::string::size_type split = E.find('O');
    bool isAnd = false;
    if (split == std::string::npos) {
        split = E.find('A');
        isAnd = true;
    }
    if (split != std::string::npos) {
        node.isOperator = true;
        node.isAnd = isAnd;
        const std::int32_t left = NewNode();
        FNodes[std::size_t(N)].left = left;
        ParseExpression(E.substr(0, split), left);
        const std::int32_t right = NewNode();
        FNodes[std::size_t(N)].right = right;
        ParseExpression(E.substr(split + 1), right);
        return;
    }
    const auto b = E.find_first_not_of(' ');
    const auto e = E.find_last_not_of(' ');
    std::int32_t number = -1;
    if (b != std::string::npos) {
        const char* first = E.data() + b;
        const char* last = E.data() + e + 1;
        auto [p, ec] = std::from_chars(first, last, number);
        if (ec != std::errc() || p != last) number = -1;
    }
    node.condition = number;
}

void WHLGroup::Prepare() {
    Reset(stUnknown);
    if (FCount > 0) {
        const std::string e = BuildExpression();
        FNodeCount = 1;
        FNodes[1] = Node{};
        ParseExpression(e, 1);
    } else {
        FNodeCount = 0;
    }
    for (std::int32_t k = 0; k < FCount; ++k) FConditions[std::size_t(k)]->Recalculate();
}

bool WHLGroup::EvalNode(std::int32_t N, std::int32_t AIndex) {
    if (N < 1 || N > FNodeCount) return false;
    const Node& node = FNodes[std::size_t(N)];
    if (!node.isOperator) {
        WABSHighLighter* c = GetCondition(node.condition);
        return c && c->IsHighlighted(AIndex);
    }
    const bool left = EvalNode(node.left, AIndex);
    if (node.isAnd ? !left : left) return left;
    return EvalNode(node.right, AIndex);
}

void WHLGroup::Evaluate(std::int32_t AIndex) {
    const bool r = FCount > 0 && FNodeCount > 0 && EvalNode(1, AIndex);
    SetResult(AIndex, r);
}

void WHLGroup::GetDescription(std::string& S) {
    S.clear();
    for (std::int32_t k = 0; k < FCount; ++k) {
        std::string words;
        FConditions[std::size_t(k)]->GetDescription(words);
        S += words;
        if (k < FCount - 1) S += IsConnectorAnd(k) ? " AND " : " OR ";
    }
}
