#pragma once
// The parameter editors under a condition row's combo: one small panel per
// parameter kind, whose HLString is the parameter text the condition reads.
#include <cstdint>
#include <string>

#include <QFrame>

#include "highlight/FindContext.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;
class WDateButtons;
class WSelectionButton;

class WHLABSOption : public QFrame {
    Q_OBJECT
public:
    // Hidden, 22 high, no find context.
    WHLABSOption(QWidget* owner, const std::string& descriptor);
    ~WHLABSOption() override;

    virtual std::string GetHLString() const = 0;
    virtual void SetHLString(const std::string& s) = 0;
    virtual void SetFindContext(const WFindContext* p) { FContext = p; }

    const std::string& Descriptor() const { return FDescriptor; }

signals:
    void OnChange(QObject* sender);

protected:
    void Changed() { emit OnChange(this); }
    virtual void EditorResize() {}
    void resizeEvent(QResizeEvent* e) override;
    // Stretches a control from its left to the panel's right edge.
    void Stretch(QWidget* w);

    std::string FDescriptor;
    const WFindContext* FContext = nullptr;
};

// Creates the editor of a parameter kind (none for kind 0 or unknown kinds).
WHLABSOption* CreateOptionEditor(int kind, QWidget* owner, const std::string& descriptor);

class WHLOptSex : public WHLABSOption {
    Q_OBJECT
public:
    WHLOptSex(QWidget* owner, const std::string& descriptor);
    std::string GetHLString() const override;
    void SetHLString(const std::string& s) override;
    QComboBox* List = nullptr;

protected:
    void EditorResize() override;
};

// Person editors: index 0 = nobody.
class WHLOptPersonBase : public WHLABSOption {
    Q_OBJECT
public:
    using WHLABSOption::WHLABSOption;
    void SetFindContext(const WFindContext* p) override;
    std::int32_t Index() const { return FIndex; }
    void SetIndex(std::int32_t index);
    std::int32_t UpperBound() const { return FUpper; }

protected:
    void NextClick();
    void PrevClick();
    // Opens the quick-find dialog on the current index; OK takes its choice.
    void FindClick();
    virtual void ShowIndex() = 0;
    std::int32_t FIndex = 0;
    std::int32_t FUpper = 0;
};

class WHLOptInd : public WHLOptPersonBase {
    Q_OBJECT
public:
    WHLOptInd(QWidget* owner, const std::string& descriptor);
    std::string GetHLString() const override;
    void SetHLString(const std::string& s) override;
    QToolButton* butPerson = nullptr;
    QToolButton* butNext = nullptr;
    QToolButton* butPrev = nullptr;
    QSpinBox* spinGens = nullptr;
    QLabel* labGens = nullptr;

protected:
    void ShowIndex() override;
};

class WHLOptIndNoGen : public WHLOptPersonBase {
    Q_OBJECT
public:
    WHLOptIndNoGen(QWidget* owner, const std::string& descriptor);
    std::string GetHLString() const override;
    void SetHLString(const std::string& s) override;
    QToolButton* butFind = nullptr;
    QToolButton* butPrev = nullptr;
    QToolButton* butNext = nullptr;
    QLabel* labPerson = nullptr;

protected:
    void ShowIndex() override;
    void EditorResize() override;
};

class WHLOptString : public WHLABSOption {
    Q_OBJECT
public:
    WHLOptString(QWidget* owner, const std::string& descriptor);
    std::string GetHLString() const override;
    void SetHLString(const std::string& s) override;
    WSelectionButton* selMode = nullptr;
    QLineEdit* edText = nullptr;

protected:
    void EditorResize() override;
};

class WHLOptDate : public WHLABSOption {
    Q_OBJECT
public:
    WHLOptDate(QWidget* owner, const std::string& descriptor);
    std::string GetHLString() const override;
    void SetHLString(const std::string& s) override;
    QToolButton* butCalendar = nullptr;
    WSelectionButton* selOp = nullptr;
    WDateButtons* Date = nullptr;

private:
    // Opens the date-pick dialog on the date buttons' date.
    void CalendarClick();
};

class WHLOptInt : public WHLABSOption {
    Q_OBJECT
public:
    WHLOptInt(QWidget* owner, const std::string& descriptor);
    std::string GetHLString() const override;
    void SetHLString(const std::string& s) override;
    WSelectionButton* selOp = nullptr;
    QSpinBox* Spin = nullptr;

protected:
    void EditorResize() override;
};

class WHLOptAgeLimit : public WHLABSOption {
    Q_OBJECT
public:
    WHLOptAgeLimit(QWidget* owner, const std::string& descriptor);
    std::string GetHLString() const override;
    void SetHLString(const std::string& s) override;
    QLabel* labAge = nullptr;
    QSpinBox* Spin = nullptr;

protected:
    void EditorResize() override;
};

class WHLOptLDSDate : public WHLABSOption {
    Q_OBJECT
public:
    WHLOptLDSDate(QWidget* owner, const std::string& descriptor);
    std::string GetHLString() const override;
    void SetHLString(const std::string&) override {}
    QComboBox* List = nullptr;

protected:
    void EditorResize() override;
};
