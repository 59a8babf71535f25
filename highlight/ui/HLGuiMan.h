#pragma once
// The condition panel: up to ten condition rows (sign, condition combo and
// the parameter editor) joined by And/Or connectors, with Add, Delete and
// Apply. It reads and writes the condition string (HLStrings).
#include <array>
#include <string>
#include <vector>

#include <QFrame>

#include "highlight/FindContext.h"

class QComboBox;
class QPushButton;
class QScrollArea;
class QToolButton;
class WHLABSOption;

class WHLGuiCond : public QFrame {
    Q_OBJECT
public:
    WHLGuiCond(QWidget* owner, const std::vector<int>* conditionIds);

    std::string GetHLCondStr() const;
    void SetHLCondStr(const std::string& s);
    void SetFindContext(const WFindContext* p) { FContext = p; }
    bool Negated() const { return FNegated; }
    int Code() const;
    WHLABSOption* Editor() const { return FEditor; }

    void BuildOptionEditor(int code);

    QToolButton* butSign = nullptr;
    QComboBox* cbCondition = nullptr;

signals:
    void OnChange();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void SignClick();
    void ConditionChange();
    void FillConditionNames();
    void UpdateSign();

    const std::vector<int>* FIds;
    bool FNegated = false;
    WHLABSOption* FEditor = nullptr;
    int FOptionCount = 0;
    const WFindContext* FContext = nullptr;
};

class WHLGuiBool : public QFrame {
    Q_OBJECT
public:
    explicit WHLGuiBool(QWidget* owner);
    bool GetBoolValue() const { return FValue; }
    void SetBoolValue(bool b);
    QToolButton* butBool = nullptr;

signals:
    void OnChange();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void ButtonClick();
    bool FValue = true;
    QFrame* FLeft = nullptr;
    QFrame* FRight = nullptr;
};

class WHLGuiMan : public QFrame {
    Q_OBJECT
public:
    static constexpr int kMaxRows = 10;

    explicit WHLGuiMan(QWidget* owner);
    ~WHLGuiMan() override;

    std::string GetHLStrings() const;
    void SetHLStrings(const std::string& s);
    // Collection and the four sorted indexes; editors built later get them too.
    void SetFindContext(WABSCollection* collection, WColSortIterator* rinIndex, WColSortIterator* givenIndex,
                        WColSortIterator* surnameIndex, WColSortIterator* customIndex);
    void SetFindContext(const WFindContext& context);
    const WFindContext& FindContext() const { return FContext; }

    void SetDeferred(bool b);
    void SetApplyMode(bool b);
    int GetCount() const { return FCount; }
    bool HasPendingApply() const { return FApplyMode && FModified; }
    bool Modified() const { return FModified; }

    void AddRow(bool focus);
    void DeleteRow();
    void ClearRows();

    WHLGuiCond* Row(int k) const { return k >= 0 && k < FCount ? FRows[std::size_t(k)] : nullptr; }
    // Connector k (1..count-1) stands between rows k - 1 and k.
    WHLGuiBool* Connector(int k) const { return k >= 1 && k < FCount ? FBools[std::size_t(k)] : nullptr; }

    QPushButton* butAdd = nullptr;
    QPushButton* butDelete = nullptr;
    QPushButton* butApply = nullptr;
    QScrollArea* ScrollBox = nullptr;

    static int RowHeight();
    static int BoolHeight();

signals:
    void OnChange();
    void OnApply();

protected:
    // Variants append their condition ids, then call this.
    void CreateControls();
    std::vector<int> FConditionIds;
    void resizeEvent(QResizeEvent* e) override;

private:
    void AddClick() { AddRow(true); }
    void DeleteClick();
    void ApplyClick();
    void RowChanged();
    void UpdateButtons();
    void LayoutRows();
    void LoadHLStrings(const std::string& s);
    bool HasChangeListener();

    std::string FHLStrings;
    QWidget* FButtonBar = nullptr;
    QWidget* FBox = nullptr;
    bool FDeferred = false;
    bool FModified = false;
    bool FApplyMode = false;
    int FCount = 0;
    std::array<WHLGuiCond*, kMaxRows> FRows{};
    std::array<WHLGuiBool*, kMaxRows> FBools{};
    WFindContext FContext;
};

// The main window's highlight pane.
class WHLGuiColMan : public WHLGuiMan {
    Q_OBJECT
public:
    explicit WHLGuiColMan(QWidget* owner);
};

// The file finder's pane, with a shorter list of conditions.
class WHLGuiSearchMan : public WHLGuiMan {
    Q_OBJECT
public:
    explicit WHLGuiSearchMan(QWidget* owner);
};
