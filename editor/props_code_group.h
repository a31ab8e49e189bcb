#pragma once
// The "Code" group of the properties panel: symbology, data, error
// correction, module size with the size it gives, and the human-readable
// line. It owns its controls; the window fills it from the selected element,
// hears Edited and then writes the values back with ApplyTo.

#include <QObject>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;
class TLabelElement;

class TPropsCodeGroup : public QObject {
    Q_OBJECT
public:
    // Builds the group as a white panel inside Parent (Owner as for
    // CreateGroupPanel); the caller places Panel().
    TPropsCodeGroup(QWidget* Owner, QWidget* Parent);

    QWidget* Panel() const { return FPanel; }

    // Fills the controls from E without raising Edited.
    void ShowElement(const TLabelElement& E);
    // Writes the control values into E and shows the size they give.
    void ApplyTo(TLabelElement& E);
    // Puts the focus into the data field with all of it selected, so that
    // typing replaces it.
    void FocusData();

signals:
    void Edited();

private:
    void ShowSize(const TLabelElement& E);
    void EnableForType();
    void Changed();

    QWidget* FPanel = nullptr;
    QComboBox* CbType = nullptr;
    QLineEdit* EdData = nullptr;
    QComboBox* CbEcc = nullptr;
    QComboBox* CbModule = nullptr;
    QLabel* LblSize = nullptr;
    QCheckBox* ChkShowText = nullptr;
    bool FFilling = false;
};
