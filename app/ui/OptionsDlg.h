#pragma once
// "Options": the settings store's user choices. Nothing reaches the store
// until the owner runs SaveOptions after OK; Cancel changes nothing.
#include <functional>
#include <optional>

#include <QColor>
#include <QDialog>

#include "app/OptionsValues.h"

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

class TOptionsDlg : public QDialog {
    Q_OBJECT
public:
    explicit TOptionsDlg(QWidget* owner = nullptr);

    // Writes every control back into the settings store (memory only: the
    // owner then saves the settings file).
    void SaveOptions();
    // The values the controls show now.
    WOptionsValues Values() const;

    int FontSize() const { return FFontSize; }
    int GridHeight() const { return FGridHeight; }

    // Runs the colour dialog; empty when cancelled. Replaceable for tests.
    std::function<std::optional<QColor>(const QColor& initial, const QString& title)> RunColorDialog;

    QTabWidget* PageControl = nullptr;
    // The check boxes in the order of kOptionChecks.
    std::array<QCheckBox*, kOptionCheckCount> Checks{};
    QCheckBox* Check(const char* control) const;
    QGroupBox* RGNameValue = nullptr;
    QButtonGroup* NameValueButtons = nullptr;
    QGroupBox* rgFontSize = nullptr;
    QButtonGroup* FontSizeButtons = nullptr;
    QLabel* PanHLColor = nullptr;
    QPushButton* butTextColor = nullptr;
    QPushButton* butBackColor = nullptr;
    QPushButton* butOK = nullptr;
    QPushButton* butCancel = nullptr;

private:
    void cbDisplayRINClick();
    void rgFontSizeClick();
    void butTextColorClick();
    void butBackColorClick();
    QWidget* buildPage(int page);
    void Load(const WOptionsValues& v);
    void ShowSampleColours();

    int FFontSize = 8;
    int FGridHeight = 14;
    QColor FHLColor, FHLTextColor;
};
