#pragma once
// A group box of radio buttons made from a list of item texts, one checked.

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QRadioButton;

namespace vadero {

class RadioGroup : public QGroupBox {
    Q_OBJECT

  public:
    explicit RadioGroup(QWidget* parent = nullptr);

    void ClearItems();
    void AddItem(const QString& text);
    int Count() const { return static_cast<int>(buttons_.size()); }
    QStringList Items() const;
    QRadioButton* Button(int index) const;  // nullptr outside the items
    // -1 when none is checked; setting an index outside the items checks none.
    int ItemIndex() const;
    void SetItemIndex(int index);

  private:
    void Arrange();

    std::vector<QRadioButton*> buttons_;
};

}  // namespace vadero
