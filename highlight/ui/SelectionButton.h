#pragma once
// A flat button that drops down a list of text items and reports the number
// of the chosen one (separators are not counted).
#include <string>
#include <vector>

#include <QToolButton>

class QMenu;

class WSelectionButton : public QToolButton {
    Q_OBJECT
public:
    struct Item {
        std::string text; // cp1252
        bool separator = false;
    };

    explicit WSelectionButton(QWidget* owner = nullptr);
    ~WSelectionButton() override;

    // Items separated by ";"; an item "-" is a separator line.
    void SetItemString(const std::string& s);
    // The items joined by ";" (separators as "-").
    std::string GetItemString() const;
    // Items given as a list, so that an item's text may hold anything.
    void SetItems(const std::vector<Item>& items);
    void SetItems(const std::vector<std::string>& texts);
    const std::vector<Item>& Items() const { return FItems; }

    // Set from outside, K is the position in the list with separators.
    void SetItemSelected(int k);
    int ItemSelected() const { return FItemSelected; }
    void SetUpdateCaption(bool b) { FUpdateCaption = b; }
    bool UpdateCaption() const { return FUpdateCaption; }

    // The number a click on the item at 0-based list position reports, 0 for a separator.
    int NumberAt(int position) const;
    // Chooses the item that a click reports as number N (1-based, separators skipped).
    bool ChooseNumber(int n);

    QMenu* Menu() const { return FMenu; }

signals:
    void OnItemChange();
    void OnBeforeShow();

private:
    void Rebuild();
    void ItemClicked(int number);
    void ShowList();

    std::vector<Item> FItems;
    int FItemSelected = 0;
    bool FUpdateCaption = false;
    QMenu* FMenu = nullptr;
};
