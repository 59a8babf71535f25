#pragma once
// "List Columns": chooses and orders the columns of a list view. The column
// set is only read; the owner applies GetColumnList after OK.
#include <string>

#include <QDialog>

#include "app/ColumnChoice.h"

class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;
class WListColumns;

class TdlgListColumns : public QDialog {
    Q_OBJECT
public:
    TdlgListColumns(QWidget* owner, WListColumns* AColumns);

    // The chosen column ids in display order, "," separated.
    void GetColumnList(std::string& S) const { S = FChoice.GetColumnList(); }
    std::string GetColumnList() const { return FChoice.GetColumnList(); }
    const WColumnChoice& Choice() const { return FChoice; }

    QListWidget* lbSource = nullptr;
    QListWidget* lbDest = nullptr;
    QLabel* labSourceCount = nullptr;
    QLabel* labDestCount = nullptr;
    QToolButton* sbRight = nullptr;
    QToolButton* sbAllRight = nullptr;
    QToolButton* sbLeft = nullptr;
    QToolButton* sbAllLeft = nullptr;
    QToolButton* sbUp = nullptr;
    QToolButton* sbDown = nullptr;
    QPushButton* butOK = nullptr;
    QPushButton* butCancel = nullptr;

private:
    void sbRightClick();
    void sbAllRightClick();
    void sbLeftClick();
    void sbAllLeftClick();
    void sbUpClick();
    void sbDownClick();
    // Refills both lists and selects the given rows (-1: none).
    void Fill(int sourceRow, int destRow);
    void UpdateButtons();
    std::string Title(std::int32_t position) const;

    WListColumns* Columns;
    WColumnChoice FChoice;
};
