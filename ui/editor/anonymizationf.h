#pragma once

#include "catalogue/methods.h"
#include "catalogue/workspace.h"

#include <QHash>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

class QButtonGroup;
class QComboBox;
class QFileSystemWatcher;
class QDateEdit;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace corvane {

namespace editor {
struct Outcome;
}
namespace db {
class Worker;
}

namespace check {
class CheckState;
}

namespace ui {
class FindingsPanel;
}

// The "Anonymisation" page: the method and its parameters for one column.
// Every operator action stores at once into the current slot of the shared
// catalogue; the rules live in ui/editor/storeactions.h, this form only wires
// the controls to them.
class TAnonymizationF : public QWidget
{
    Q_OBJECT
public:
    explicit TAnonymizationF(QWidget* parent = nullptr);

    // Works on the workspace's catalogue; the FK value lists connect to the
    // database the catalogue was read from.
    void SetData(Workspace& workspace);
    // Shows the check's findings of the column under the sheets, as they change.
    void SetCheck(check::CheckState& check);
    ui::FindingsPanel* findingsPanel() const { return m_findings; }
    // Makes slot `index` the current slot and shows it without storing anything.
    void ShowColumn(int index);
    QTabWidget* PageControl1() const { return m_pageControl; }
    int currentIndex() const { return m_index; }

    // Handlers, one per control and event.
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void RadioButton5Click();
    void RadioButton6Click();
    void RadioButton7Click();
    void RadioButton8Click();
    void RadioButton9Click();
    void RadioButton10Click();
    void RadioButton11Click();
    void RadioButton12Click();
    void RadioButton13Click();
    void RadioButton14Click();
    void RadioButton15Click();
    void RadioButton16Click();
    void RadioButton17Click();
    void RadioButton18Click();
    void RadioButton19Click();
    void RadioButton20Click();
    void RadioButton21Click();
    void RadioButton22Click();
    void RadioButton23Click();
    void RadioButton24Click();
    void RadioButton25Click();
    void Edit1Change();
    void Edit2Change();
    void Edit3Change(); // Edit3 and Edit4
    void Edit5Change();
    void Edit6Change();
    void Edit7Change();
    void Edit8Change();
    void Edit9Change();  // Edit9 and Edit12
    void Edit10Change(); // Edit10 and Edit11
    void Edit14Change(); // Edit14 and Edit15
    void DateTimePicker1Change();
    void DateTimePicker2Click(); // DateTimePicker2 and DateTimePicker3
    void ComboBox1Change();
    void ComboBox2Change();
    void ComboBox3Change();
    void ComboBox4Change();
    void ComboBox5Change();
    void Label11Click();

    // Controls, under their designer names.
    QWidget* TsDateTime = nullptr;
    QWidget* TsInt = nullptr;
    QWidget* TsVarchar = nullptr;
    QWidget* TsFloat = nullptr;

    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QRadioButton* RadioButton6 = nullptr;
    QRadioButton* RadioButton7 = nullptr;
    QRadioButton* RadioButton8 = nullptr;
    QRadioButton* RadioButton9 = nullptr;
    QRadioButton* RadioButton10 = nullptr;
    QRadioButton* RadioButton11 = nullptr;
    QRadioButton* RadioButton12 = nullptr;
    QRadioButton* RadioButton13 = nullptr;
    QRadioButton* RadioButton14 = nullptr;
    QRadioButton* RadioButton15 = nullptr;
    QRadioButton* RadioButton16 = nullptr;
    QRadioButton* RadioButton17 = nullptr;
    QRadioButton* RadioButton18 = nullptr;
    QRadioButton* RadioButton19 = nullptr;
    QRadioButton* RadioButton20 = nullptr;
    QRadioButton* RadioButton21 = nullptr;
    QRadioButton* RadioButton22 = nullptr;
    QRadioButton* RadioButton23 = nullptr;
    QRadioButton* RadioButton24 = nullptr;
    QRadioButton* RadioButton25 = nullptr;

    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QLineEdit* Edit9 = nullptr;
    QLineEdit* Edit10 = nullptr;
    QLineEdit* Edit11 = nullptr;
    QLineEdit* Edit12 = nullptr;
    QLineEdit* Edit14 = nullptr;
    QLineEdit* Edit15 = nullptr;

    QDateEdit* DateTimePicker1 = nullptr;
    QDateEdit* DateTimePicker2 = nullptr;
    QDateEdit* DateTimePicker3 = nullptr;

    QComboBox* ComboBox1 = nullptr; // FK values, integer
    QComboBox* ComboBox2 = nullptr; // FK values, date-time
    QComboBox* ComboBox3 = nullptr; // FK values, text
    QComboBox* ComboBox4 = nullptr; // word lists
    QComboBox* ComboBox5 = nullptr; // FK values, float

    QLabel* Label3 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label19 = nullptr;

private:
    // One radio button: the method it stores ("No mask" without a kind) and
    // the controls that show the method's parameters.
    struct MethodRadio
    {
        TypeCategory family;
        std::optional<MethodKind> kind;
        QRadioButton* radio;
        std::array<QWidget*, 2> params;
    };

    void buildDateTimeSheet();
    void buildIntegerSheet();
    void buildVarcharSheet();
    void buildFloatSheet();
    void listMethodRadios();
    void connectControls();
    QWidget* sheetOf(TypeCategory family) const;
    const MethodRadio* radioOf(TypeCategory family, std::optional<MethodKind> kind) const;
    // Shows parameter `param` (1 or 2) of `method` in `control`; false when a
    // date does not read, after saying so.
    bool showParameter(const MethodInfo& method, int param, QWidget* control, const QString& text);

    const TColumnRec* currentSlot() const;
    // Carries out a store action's outcome; true when it stored.
    bool perform(const editor::Outcome& outcome, QRadioButton* radio);
    // Checks `radio` as its edit or picker was used, and runs its store action.
    void select(QRadioButton* radio, void (TAnonymizationF::*action)());
    void uncheck(QRadioButton* radio);
    // The constant store action of the date-time, integer and float sheets.
    void storeConstant(const editor::Outcome& outcome, QRadioButton* radio, QComboBox* values,
                       QLabel* caption);
    void offerKeyValues(const TColumnRec& slot, QComboBox* values, QLabel* caption);
    // Puts a key value into the constant control and stores it once.
    void chooseKeyValue(QLineEdit* constant, QRadioButton* radio, const QString& value);
    QString keyValueConnectionString() const;
    // Lists the word lists of the folder into ComboBox4, keeping its text,
    // and watches the folder for the next change.
    void refreshWordLists();
    void showFindings();

    Workspace* m_workspace = nullptr;
    check::CheckState* m_check = nullptr;
    ui::FindingsPanel* m_findings = nullptr;
    int m_index = -1;
    QTabWidget* m_pageControl = nullptr;
    std::array<QButtonGroup*, 4> m_groups{};
    std::vector<MethodRadio> m_radios;
    QFileSystemWatcher* m_wordListWatcher = nullptr;
    QList<QComboBox*> m_keyListsRead; // the value lists read for the column shown
    QHash<QComboBox*, db::Worker*> m_keyListReaders; // one per value list
};

} // namespace corvane
