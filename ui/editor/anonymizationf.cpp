#include "ui/editor/anonymizationf.h"

#include "catalogue/textconv.h"
#include "check/checkstate.h"
#include "db/worker.h"
#include "project/wordlist.h"
#include "ui/check/findingsmodel.h"
#include "ui/check/findingspanel.h"
#include "ui/common/dialogs.h"
#include "ui/editor/findfiles.h"
#include "ui/editor/inputevents.h"
#include "ui/editor/keyvalues.h"
#include "ui/editor/storeactions.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileSystemWatcher>
#include <QStandardItemModel>
#include <QTableView>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <vector>

namespace corvane {

using editor::KeyFilter;
using editor::Outcome;

namespace {

const QString ChooseValue = QStringLiteral("Choose value..");
const QString LoadingValues = QStringLiteral("Loading…");
const QString Zero = QStringLiteral("0");
const QString NoWordListYet = QStringLiteral("No word list yet: save one in virtual_data");

template <typename T>
T* named(QWidget* parent, const char* name)
{
    auto* widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QRadioButton* radio(QWidget* sheet, const char* name, const QString& caption)
{
    auto* button = named<QRadioButton>(sheet, name);
    button->setText(caption);
    return button;
}

QLabel* label(QWidget* sheet, const char* name, const QString& caption)
{
    auto* text = named<QLabel>(sheet, name);
    text->setText(caption);
    return text;
}

QLineEdit* edit(QWidget* sheet, const char* name, const QString& text)
{
    auto* line = named<QLineEdit>(sheet, name);
    line->setText(text);
    return line;
}

QDateEdit* picker(QWidget* sheet, const char* name)
{
    auto* date = named<QDateEdit>(sheet, name);
    date->setCalendarPopup(true);
    date->setDisplayFormat(ShortDateFormat());
    date->setDate(QDate::currentDate());
    return date;
}

// An editable list whose text is a prompt until an entry is chosen or typed.
QComboBox* valueList(QWidget* sheet, const char* name, const QString& prompt)
{
    auto* box = named<QComboBox>(sheet, name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setEditText(prompt);
    // Wide enough for the prompt, whatever the entries.
    box->setMinimumContentsLength(int(prompt.size()) + 2);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return box;
}

QGridLayout* rows(QWidget* sheet)
{
    auto* grid = new QGridLayout(sheet);
    grid->setColumnStretch(5, 1);
    return grid;
}

void finish(QGridLayout* grid)
{
    grid->setRowStretch(grid->rowCount(), 1);
}

QButtonGroup* group(QObject* owner, std::initializer_list<QRadioButton*> buttons)
{
    auto* exclusive = new QButtonGroup(owner);
    for (QRadioButton* button : buttons)
        exclusive->addButton(button);
    return exclusive;
}

// Replaces a list's entries, keeping the text the operator sees (and is
// perhaps typing) and without reporting the change as the operator's.
void refill(QComboBox* box, const QStringList& entries)
{
    const QSignalBlocker blocker(box);
    const QString text = box->currentText();
    const int cursor = box->lineEdit()->cursorPosition();
    box->clear();
    box->addItems(entries);
    box->setCurrentIndex(-1);
    box->setEditText(text);
    box->lineEdit()->setCursorPosition(cursor);
}

bool hasChosenEntry(const QComboBox* box)
{
    return box->currentIndex() >= 0 && box->itemText(box->currentIndex()) == box->currentText();
}

} // namespace

TAnonymizationF::TAnonymizationF(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("AnonymizationF"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pageControl = named<QTabWidget>(this, "PageControl1");
    layout->addWidget(m_pageControl);

    buildDateTimeSheet();
    buildIntegerSheet();
    buildVarcharSheet();
    buildFloatSheet();
    listMethodRadios();
    for (QComboBox* values : {ComboBox1, ComboBox2, ComboBox3, ComboBox5})
        m_keyListReaders.insert(values, new db::Worker(this));
    connectControls();
    refreshWordLists();

    m_pageControl->setCurrentWidget(TsFloat);
}

void TAnonymizationF::buildDateTimeSheet()
{
    TsDateTime = named<QWidget>(m_pageControl, "TsDateTime");
    m_pageControl->addTab(TsDateTime, QStringLiteral("DateTime"));
    QWidget* s = TsDateTime;

    RadioButton1 = radio(s, "RadioButton1", QStringLiteral("No mask"));
    RadioButton2 = radio(s, "RadioButton2", QStringLiteral("Constant date"));
    DateTimePicker1 = picker(s, "DateTimePicker1");
    Label9 = label(s, "Label9", QStringLiteral("FK values"));
    ComboBox2 = valueList(s, "ComboBox2", ChooseValue);
    RadioButton3 = radio(s, "RadioButton3", QStringLiteral("Noise range ( days )"));
    Edit1 = edit(s, "Edit1", Zero);
    RadioButton5 = radio(s, "RadioButton5", QStringLiteral("Random interval from"));
    DateTimePicker2 = picker(s, "DateTimePicker2");
    Label3 = label(s, "Label3", QStringLiteral("to"));
    DateTimePicker3 = picker(s, "DateTimePicker3");
    RadioButton4 = radio(s, "RadioButton4", QStringLiteral("Shuffle"));
    RadioButton16 = radio(s, "RadioButton16", QStringLiteral("NULL"));

    QGridLayout* grid = rows(s);
    grid->addWidget(RadioButton1, 0, 0);
    grid->addWidget(RadioButton2, 1, 0);
    grid->addWidget(DateTimePicker1, 1, 1);
    grid->addWidget(Label9, 1, 3);
    grid->addWidget(ComboBox2, 1, 4);
    grid->addWidget(RadioButton3, 2, 0);
    grid->addWidget(Edit1, 2, 1);
    grid->addWidget(RadioButton5, 3, 0);
    grid->addWidget(DateTimePicker2, 3, 1);
    grid->addWidget(Label3, 3, 2);
    grid->addWidget(DateTimePicker3, 3, 3);
    grid->addWidget(RadioButton4, 4, 0);
    grid->addWidget(RadioButton16, 5, 0);
    finish(grid);

    m_groups[0] = group(this, {RadioButton1, RadioButton2, RadioButton3, RadioButton5, RadioButton4,
                               RadioButton16});
    RadioButton1->setChecked(true);
    Label9->hide();
    ComboBox2->hide();
}

void TAnonymizationF::buildIntegerSheet()
{
    TsInt = named<QWidget>(m_pageControl, "TsInt");
    m_pageControl->addTab(TsInt, QStringLiteral("Integer"));
    QWidget* s = TsInt;

    RadioButton6 = radio(s, "RadioButton6", QStringLiteral("No mask"));
    RadioButton7 = radio(s, "RadioButton7", QStringLiteral("Constant value"));
    Edit5 = edit(s, "Edit5", Zero);
    Label7 = label(s, "Label7", QStringLiteral("FK values"));
    ComboBox1 = valueList(s, "ComboBox1", ChooseValue);
    RadioButton8 = radio(s, "RadioButton8", QStringLiteral("Noise range"));
    Edit2 = edit(s, "Edit2", Zero);
    RadioButton9 = radio(s, "RadioButton9", QStringLiteral("Random from"));
    Edit3 = edit(s, "Edit3", Zero);
    Label6 = label(s, "Label6", QStringLiteral("to"));
    Edit4 = edit(s, "Edit4", Zero);
    RadioButton10 = radio(s, "RadioButton10", QStringLiteral("Shuffle"));
    RadioButton17 = radio(s, "RadioButton17", QStringLiteral("NULL"));

    QGridLayout* grid = rows(s);
    grid->addWidget(RadioButton6, 0, 0);
    grid->addWidget(RadioButton7, 1, 0);
    grid->addWidget(Edit5, 1, 1);
    grid->addWidget(Label7, 1, 3);
    grid->addWidget(ComboBox1, 1, 4);
    grid->addWidget(RadioButton8, 2, 0);
    grid->addWidget(Edit2, 2, 1);
    grid->addWidget(RadioButton9, 3, 0);
    grid->addWidget(Edit3, 3, 1);
    grid->addWidget(Label6, 3, 2);
    grid->addWidget(Edit4, 3, 3);
    grid->addWidget(RadioButton10, 4, 0);
    grid->addWidget(RadioButton17, 5, 0);
    finish(grid);

    m_groups[1] = group(this, {RadioButton6, RadioButton7, RadioButton8, RadioButton9, RadioButton10,
                               RadioButton17});
    RadioButton6->setChecked(true);
    Label7->hide();
    ComboBox1->hide();
}

void TAnonymizationF::buildVarcharSheet()
{
    TsVarchar = named<QWidget>(m_pageControl, "TsVarchar");
    m_pageControl->addTab(TsVarchar, QStringLiteral("Varchar"));
    QWidget* s = TsVarchar;

    RadioButton11 = radio(s, "RadioButton11", QStringLiteral("No mask"));
    RadioButton12 = radio(s, "RadioButton12", QStringLiteral("Constant text"));
    Edit6 = edit(s, "Edit6", QString());
    Label10 = label(s, "Label10", QStringLiteral("FK values"));
    ComboBox3 = valueList(s, "ComboBox3", ChooseValue);
    RadioButton13 = radio(s, "RadioButton13", QStringLiteral("User defined text with same length"));
    Edit7 = edit(s, "Edit7", QString());
    Label11 = label(s, "Label11", QStringLiteral("Lorem ipsum"));
    Label11->setCursor(Qt::PointingHandCursor);
    RadioButton25 = radio(s, "RadioButton25", QStringLiteral("Lorem ipsum random length from"));
    Edit14 = edit(s, "Edit14", Zero);
    Label19 = label(s, "Label19", QStringLiteral("to"));
    Edit15 = edit(s, "Edit15", Zero);
    RadioButton14 = radio(s, "RadioButton14", QStringLiteral("Virtual data"));
    ComboBox4 = valueList(s, "ComboBox4", editor::VirtualDataPrompt);
    ComboBox4->setEnabled(false);
    m_wordListWatcher = new QFileSystemWatcher(this);
    RadioButton15 = radio(s, "RadioButton15", QStringLiteral("Shuffle"));
    RadioButton18 = radio(s, "RadioButton18", QStringLiteral("NULL"));

    QGridLayout* grid = rows(s);
    grid->addWidget(RadioButton11, 0, 0);
    grid->addWidget(RadioButton12, 1, 0);
    grid->addWidget(Edit6, 1, 1);
    grid->addWidget(Label10, 1, 3);
    grid->addWidget(ComboBox3, 1, 4);
    grid->addWidget(RadioButton13, 2, 0);
    grid->addWidget(Edit7, 2, 1, 1, 4);
    grid->addWidget(Label11, 2, 5);
    grid->addWidget(RadioButton25, 3, 0);
    grid->addWidget(Edit14, 3, 1);
    grid->addWidget(Label19, 3, 2);
    grid->addWidget(Edit15, 3, 3);
    grid->addWidget(RadioButton14, 4, 0);
    grid->addWidget(ComboBox4, 4, 1);
    grid->addWidget(RadioButton15, 5, 0);
    grid->addWidget(RadioButton18, 6, 0);
    finish(grid);

    m_groups[2] = group(this, {RadioButton11, RadioButton12, RadioButton13, RadioButton25,
                               RadioButton14, RadioButton15, RadioButton18});
    RadioButton11->setChecked(true);
    Label10->hide();
    ComboBox3->hide();
}

void TAnonymizationF::buildFloatSheet()
{
    TsFloat = named<QWidget>(m_pageControl, "TsFloat");
    m_pageControl->addTab(TsFloat, QStringLiteral("Float"));
    QWidget* s = TsFloat;

    RadioButton19 = radio(s, "RadioButton19", QStringLiteral("No mask"));
    RadioButton20 = radio(s, "RadioButton20", QStringLiteral("Constant value"));
    Edit8 = edit(s, "Edit8", Zero);
    Label12 = label(s, "Label12", QStringLiteral("FK values"));
    ComboBox5 = valueList(s, "ComboBox5", ChooseValue);
    RadioButton21 = radio(s, "RadioButton21", QStringLiteral("Noise range"));
    Edit9 = edit(s, "Edit9", Zero);
    Label16 = label(s, "Label16", QStringLiteral("Decimals"));
    Edit12 = edit(s, "Edit12", Zero);
    RadioButton22 = radio(s, "RadioButton22", QStringLiteral("Random from"));
    Edit10 = edit(s, "Edit10", Zero);
    Label15 = label(s, "Label15", QStringLiteral("to"));
    Edit11 = edit(s, "Edit11", Zero);
    RadioButton23 = radio(s, "RadioButton23", QStringLiteral("Shuffle"));
    RadioButton24 = radio(s, "RadioButton24", QStringLiteral("NULL"));

    QGridLayout* grid = rows(s);
    grid->addWidget(RadioButton19, 0, 0);
    grid->addWidget(RadioButton20, 1, 0);
    grid->addWidget(Edit8, 1, 1);
    grid->addWidget(Label12, 1, 3);
    grid->addWidget(ComboBox5, 1, 4);
    grid->addWidget(RadioButton21, 2, 0);
    grid->addWidget(Edit9, 2, 1);
    grid->addWidget(Label16, 2, 2);
    grid->addWidget(Edit12, 2, 3);
    grid->addWidget(RadioButton22, 3, 0);
    grid->addWidget(Edit10, 3, 1);
    grid->addWidget(Label15, 3, 2);
    grid->addWidget(Edit11, 3, 3);
    grid->addWidget(RadioButton23, 4, 0);
    grid->addWidget(RadioButton24, 5, 0);
    finish(grid);

    m_groups[3] = group(this, {RadioButton19, RadioButton20, RadioButton21, RadioButton22,
                               RadioButton23, RadioButton24});
    RadioButton19->setChecked(true);
    Label12->hide();
    ComboBox5->hide();
}

void TAnonymizationF::connectControls()
{
    using T = TAnonymizationF;
    const std::pair<QRadioButton*, void (T::*)()> radios[] = {
        {RadioButton1, &T::RadioButton1Click},   {RadioButton2, &T::RadioButton2Click},
        {RadioButton3, &T::RadioButton3Click},   {RadioButton4, &T::RadioButton4Click},
        {RadioButton5, &T::RadioButton5Click},   {RadioButton6, &T::RadioButton6Click},
        {RadioButton7, &T::RadioButton7Click},   {RadioButton8, &T::RadioButton8Click},
        {RadioButton9, &T::RadioButton9Click},   {RadioButton10, &T::RadioButton10Click},
        {RadioButton11, &T::RadioButton11Click}, {RadioButton12, &T::RadioButton12Click},
        {RadioButton13, &T::RadioButton13Click}, {RadioButton14, &T::RadioButton14Click},
        {RadioButton15, &T::RadioButton15Click}, {RadioButton16, &T::RadioButton16Click},
        {RadioButton17, &T::RadioButton17Click}, {RadioButton18, &T::RadioButton18Click},
        {RadioButton19, &T::RadioButton19Click}, {RadioButton20, &T::RadioButton20Click},
        {RadioButton21, &T::RadioButton21Click}, {RadioButton22, &T::RadioButton22Click},
        {RadioButton23, &T::RadioButton23Click}, {RadioButton24, &T::RadioButton24Click},
        {RadioButton25, &T::RadioButton25Click},
    };
    for (const auto& [button, handler] : radios)
        connect(button, &QRadioButton::clicked, this, handler);

    // Every change of an edit's text stores, whoever made it; ShowColumn
    // fills the edits with their signals blocked.
    struct EditWiring
    {
        QLineEdit* edit;
        void (T::*handler)();
        std::optional<KeyFilter> keys;
        bool clickStores;
    };
    const EditWiring edits[] = {
        {Edit1, &T::Edit1Change, KeyFilter::Digits, true},
        {Edit2, &T::Edit2Change, KeyFilter::Digits, true},
        {Edit3, &T::Edit3Change, KeyFilter::SignedDigits, true},
        {Edit4, &T::Edit3Change, KeyFilter::SignedDigits, true},
        {Edit5, &T::Edit5Change, KeyFilter::SignedDigits, true},
        {Edit6, &T::Edit6Change, std::nullopt, true},
        // The user text is long; a click into it only places the cursor.
        {Edit7, &T::Edit7Change, std::nullopt, false},
        {Edit8, &T::Edit8Change, KeyFilter::Decimal, true},
        {Edit9, &T::Edit9Change, KeyFilter::Decimal, true},
        {Edit12, &T::Edit9Change, KeyFilter::Digits, true},
        {Edit10, &T::Edit10Change, KeyFilter::Decimal, true},
        {Edit11, &T::Edit10Change, KeyFilter::Decimal, true},
        {Edit14, &T::Edit14Change, KeyFilter::Digits, true},
        {Edit15, &T::Edit14Change, KeyFilter::Digits, true},
    };
    for (const EditWiring& w : edits) {
        connect(w.edit, &QLineEdit::textChanged, this, w.handler);
        std::function<void()> click;
        if (w.clickStores)
            click = [this, handler = w.handler] { (this->*handler)(); };
        editor::watchInput(w.edit, w.keys, std::move(click));
    }

    connect(DateTimePicker1, &QDateEdit::dateChanged, this, &T::DateTimePicker1Change);
    connect(DateTimePicker2, &QDateEdit::dateChanged, this, &T::DateTimePicker2Click);
    connect(DateTimePicker3, &QDateEdit::dateChanged, this, &T::DateTimePicker2Click);
    editor::watchPicker(DateTimePicker1, [this] { DateTimePicker1Change(); });
    editor::watchPicker(DateTimePicker2, [this] { DateTimePicker2Click(); });
    editor::watchPicker(DateTimePicker3, [this] { DateTimePicker2Click(); });

    connect(ComboBox1, &QComboBox::currentTextChanged, this, &T::ComboBox1Change);
    // A date is read only from a chosen entry: read on every keystroke, a
    // date being typed would be refused at each key.
    connect(ComboBox2, &QComboBox::textActivated, this, &T::ComboBox2Change);
    connect(ComboBox3, &QComboBox::currentTextChanged, this, &T::ComboBox3Change);
    connect(ComboBox4, &QComboBox::currentTextChanged, this, &T::ComboBox4Change);
    connect(ComboBox5, &QComboBox::currentTextChanged, this, &T::ComboBox5Change);
    connect(m_wordListWatcher, &QFileSystemWatcher::directoryChanged, this, &T::refreshWordLists);

    editor::watchInput(Label11, std::nullopt, [this] { Label11Click(); });
}

void TAnonymizationF::SetData(Workspace& workspace)
{
    m_workspace = &workspace;
}

void TAnonymizationF::SetCheck(check::CheckState& check)
{
    if (m_check)
        disconnect(m_check, nullptr, this, nullptr);
    m_check = &check;
    if (!m_findings) {
        m_findings = new ui::FindingsPanel(this);
        m_findings->setObjectName(QStringLiteral("Findings"));
        // Table, column and method are those shown above.
        for (int c : {ui::FindingsModel::TableColumn, ui::FindingsModel::ColumnColumn,
                      ui::FindingsModel::MethodColumn})
            m_findings->view()->hideColumn(c);
        m_findings->view()->setMaximumHeight(8 * m_findings->fontMetrics().height());
        layout()->addWidget(m_findings);
    }
    connect(m_check, &check::CheckState::findingsChanged, this, &TAnonymizationF::showFindings);
    showFindings();
}

void TAnonymizationF::showFindings()
{
    if (!m_findings)
        return;
    const TColumnRec* slot = currentSlot();
    const bool column = slot && m_index > 0 && !slot->col.isEmpty();
    m_findings->setVisible(column);
    if (!column)
        return;
    const check::Findings findings = m_check->findingsOf(m_index);
    m_findings->setFindings(findings);
    m_findings->showSlot(m_index);
    // Nothing found takes one line, not an empty list.
    m_findings->view()->setVisible(!findings.isEmpty());
}

const TColumnRec* TAnonymizationF::currentSlot() const
{
    // The catalogue may have been reloaded, shorter, since the slot was shown.
    if (!m_workspace || m_index < 0 || m_index >= m_workspace->catalogue().size())
        return nullptr;
    return &m_workspace->catalogue().at(m_index);
}

void TAnonymizationF::ShowColumn(int index)
{
    m_index = index;
    showFindings();

    std::vector<QSignalBlocker> quiet;
    for (QObject* input : std::initializer_list<QObject*>{
             Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10, Edit11, Edit12,
             Edit14, Edit15, DateTimePicker1, DateTimePicker2, DateTimePicker3, ComboBox1,
             ComboBox2, ComboBox3, ComboBox4, ComboBox5})
        quiet.emplace_back(input);

    // A value list belongs to the column it was read for; it comes back with
    // the next constant stored on a foreign-key column.
    const std::pair<QComboBox*, QLabel*> keyLists[] = {
        {ComboBox2, Label9}, {ComboBox1, Label7}, {ComboBox3, Label10}, {ComboBox5, Label12}};
    m_keyListsRead.clear();
    for (const auto& [values, caption] : keyLists) {
        m_keyListReaders.value(values)->cancel();
        values->setEnabled(true);
        values->unsetCursor();
        values->hide();
        caption->hide();
        values->clear();
        values->setEditText(ChooseValue);
    }

    const TColumnRec* current = currentSlot();
    if (!current)
        return;
    const TColumnRec slot = *current;

    // A method of another family than the column's type (from a project file,
    // or a type that changed family) shows on its own sheet, as stored.
    const MethodInfo* method = methodInfo(slot.method);
    const TypeCategory typeFamily = methodFamily(GetTypeCategory(slot.typ));
    m_pageControl->setCurrentWidget(sheetOf(method ? method->family : typeFamily));

    if (slot.method == NoMethodYet) {
        radioOf(typeFamily, std::nullopt)->radio->setChecked(true);
        return;
    }
    if (const std::optional<TypeCategory> family = noMaskFamily(slot.method)) {
        // "No mask" of any family leaves the column alone: the sheet shown
        // says so too.
        radioOf(*family, std::nullopt)->radio->setChecked(true);
        radioOf(typeFamily, std::nullopt)->radio->setChecked(true);
        return;
    }
    if (!method)
        return;
    const MethodRadio* shown = radioOf(method->family, method->kind);
    shown->radio->setChecked(true);
    const QString params[] = {slot.param1, slot.param2};
    for (int i = 0; i < 2; ++i) {
        if (shown->params[i] && !showParameter(*method, i + 1, shown->params[i], params[i]))
            break; // an unreadable date ends the showing
    }
}

bool TAnonymizationF::showParameter(const MethodInfo& method, int param, QWidget* control,
                                    const QString& text)
{
    if (auto* date = qobject_cast<QDateEdit*>(control)) {
        const Result<QDate> read = TextToDate(text);
        if (!read) {
            ui::showError(this, read.error());
            return false;
        }
        date->setDate(isExclusiveEndDate(method, param) ? editor::lastDayOfInterval(*read) : *read);
    } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->setText(text);
    } else if (auto* box = qobject_cast<QComboBox*>(control)) {
        box->setEditText(text);
    }
    return true;
}

QWidget* TAnonymizationF::sheetOf(TypeCategory family) const
{
    switch (methodFamily(family)) {
    case tcDateTime: return TsDateTime;
    case tcInteger: return TsInt;
    case tcFloat: return TsFloat;
    default: return TsVarchar;
    }
}

const TAnonymizationF::MethodRadio* TAnonymizationF::radioOf(TypeCategory family,
                                                             std::optional<MethodKind> kind) const
{
    for (const MethodRadio& row : m_radios)
        if (row.family == family && row.kind == kind)
            return &row;
    Q_ASSERT_X(false, "radioOf", "a method without its radio button");
    return &m_radios.front();
}

void TAnonymizationF::listMethodRadios()
{
    using K = MethodKind;
    m_radios = {
        {tcDateTime, std::nullopt, RadioButton1, {}},
        {tcDateTime, K::Constant, RadioButton2, {DateTimePicker1, nullptr}},
        {tcDateTime, K::Noise, RadioButton3, {Edit1, nullptr}},
        {tcDateTime, K::Shuffle, RadioButton4, {}},
        {tcDateTime, K::Interval, RadioButton5, {DateTimePicker2, DateTimePicker3}},
        {tcDateTime, K::Null, RadioButton16, {}},
        {tcInteger, std::nullopt, RadioButton6, {}},
        {tcInteger, K::Constant, RadioButton7, {Edit5, nullptr}},
        {tcInteger, K::Noise, RadioButton8, {Edit2, nullptr}},
        {tcInteger, K::Interval, RadioButton9, {Edit3, Edit4}},
        {tcInteger, K::Shuffle, RadioButton10, {}},
        {tcInteger, K::Null, RadioButton17, {}},
        {tcVarchar, std::nullopt, RadioButton11, {}},
        {tcVarchar, K::Constant, RadioButton12, {Edit6, nullptr}},
        {tcVarchar, K::SameLengthText, RadioButton13, {Edit7, nullptr}},
        {tcVarchar, K::LoremIpsum, RadioButton25, {Edit14, Edit15}},
        {tcVarchar, K::WordList, RadioButton14, {ComboBox4, nullptr}},
        {tcVarchar, K::Shuffle, RadioButton15, {}},
        {tcVarchar, K::Null, RadioButton18, {}},
        {tcFloat, std::nullopt, RadioButton19, {}},
        {tcFloat, K::Constant, RadioButton20, {Edit8, nullptr}},
        {tcFloat, K::Noise, RadioButton21, {Edit9, Edit12}},
        {tcFloat, K::Interval, RadioButton22, {Edit10, Edit11}},
        {tcFloat, K::Shuffle, RadioButton23, {}},
        {tcFloat, K::Null, RadioButton24, {}},
    };
    // Every method of the table has its radio, with a control for each parameter it uses.
    for (const MethodInfo& method : Methods) {
        [[maybe_unused]] const MethodRadio* row = radioOf(method.family, method.kind);
        Q_ASSERT((method.param1 != ParamKind::Unused) == (row->params[0] != nullptr));
        Q_ASSERT((method.param2 != ParamKind::Unused) == (row->params[1] != nullptr));
    }
}

bool TAnonymizationF::perform(const Outcome& outcome, QRadioButton* radio)
{
    switch (outcome.kind) {
    case Outcome::Kind::Store:
        if (currentSlot())
            m_workspace->editSlot(m_index, [&](TColumnRec& slot) { outcome.applyTo(slot); });
        return true;
    case Outcome::Kind::Keep: return false;
    case Outcome::Kind::Fail: ui::showError(this, outcome.error); return false;
    case Outcome::Kind::Refuse:
        ui::dialogs().message(this, outcome.message);
        // A reset edit runs its store action again, as any change does.
        switch (outcome.reset) {
        case editor::Reset::None: uncheck(radio); break;
        case editor::Reset::ConstantText: Edit6->clear(); break;
        case editor::Reset::LoremFrom: Edit14->setText(Zero); break;
        case editor::Reset::LoremTo: Edit15->setText(Zero); break;
        }
        return false;
    }
    return false;
}

void TAnonymizationF::select(QRadioButton* radio, void (TAnonymizationF::*action)())
{
    radio->setChecked(true);
    (this->*action)();
}

void TAnonymizationF::uncheck(QRadioButton* radio)
{
    // An exclusive group keeps one button checked; a refusal leaves none.
    QButtonGroup* exclusive = radio->group();
    if (exclusive)
        exclusive->setExclusive(false);
    radio->setChecked(false);
    if (exclusive)
        exclusive->setExclusive(true);
}

void TAnonymizationF::storeConstant(const Outcome& outcome, QRadioButton* radio, QComboBox* values,
                                    QLabel* caption)
{
    const TColumnRec* slot = currentSlot();
    if (!slot || !perform(outcome, radio) || !outcome.offerKeyValues) {
        values->hide();
        caption->hide();
        return;
    }
    offerKeyValues(*slot, values, caption);
}

void TAnonymizationF::offerKeyValues(const TColumnRec& slot, QComboBox* values, QLabel* caption)
{
    values->show();
    caption->show();
    // Read once for the column shown: later stores, a pick from the list
    // among them, neither ask the server again nor repeat the hint.
    if (m_keyListsRead.contains(values))
        return;
    m_keyListsRead.append(values);
    // Read off the window's thread, while the hint is read; the list says so
    // until the values arrive.
    {
        const QSignalBlocker blocker(values);
        values->setEditText(LoadingValues);
    }
    values->setEnabled(false);
    values->setCursor(Qt::BusyCursor);
    const QString connectionString = keyValueConnectionString();
    m_keyListReaders.value(values)->start(
        [connect = m_workspace->connector(), connectionString,
         column = slot](db::CallControl& control) {
            return editor::readKeyValues(connect, connectionString, column, &control);
        },
        [this, values, index = m_index, connectionString](const Result<QStringList>& keys) {
            values->setEnabled(true);
            values->unsetCursor();
            {
                const QSignalBlocker blocker(values);
                values->setEditText(ChooseValue);
            }
            // Showing another column cancels the read; a new Login may not.
            if (m_index != index || keyValueConnectionString() != connectionString)
                return;
            if (!keys) {
                ui::showError(this, keys.error());
                return;
            }
            refill(values, *keys);
        });
    if (ForeignKeyHint == 1)
        ui::dialogs().message(this, editor::ForeignKeyHintText);
}

QString TAnonymizationF::keyValueConnectionString() const
{
    // The values must come from the database the catalogue was read from.
    return m_workspace->connectionString();
}

void TAnonymizationF::chooseKeyValue(QLineEdit* constant, QRadioButton* radio, const QString& value)
{
    {
        // Stored once below, not once more by the edit's own change.
        const QSignalBlocker blocker(constant);
        constant->setText(value);
    }
    radio->setChecked(true);
}

// Date-time sheet.

void TAnonymizationF::RadioButton1Click()
{
    perform(editor::noMask(tcDateTime), RadioButton1);
}

void TAnonymizationF::RadioButton2Click()
{
    const TColumnRec* slot = currentSlot();
    if (!slot)
        return;
    storeConstant(editor::constantDate(*slot, DateTimePicker1->date()), RadioButton2, ComboBox2,
                  Label9);
}

void TAnonymizationF::RadioButton3Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::noise(*slot, tcDateTime, Edit1->text()), RadioButton3);
}

void TAnonymizationF::RadioButton4Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::shuffle(*slot, tcDateTime), RadioButton4);
}

void TAnonymizationF::RadioButton5Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::randomDates(*slot, DateTimePicker2->date(), DateTimePicker3->date()),
                RadioButton5);
}

void TAnonymizationF::RadioButton16Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::setNull(*slot, tcDateTime), RadioButton16);
}

void TAnonymizationF::Edit1Change()
{
    select(RadioButton3, &TAnonymizationF::RadioButton3Click);
}

void TAnonymizationF::DateTimePicker1Change()
{
    select(RadioButton2, &TAnonymizationF::RadioButton2Click);
}

void TAnonymizationF::DateTimePicker2Click()
{
    select(RadioButton5, &TAnonymizationF::RadioButton5Click);
}

void TAnonymizationF::ComboBox2Change()
{
    const Result<QDate> date = editor::keyValueDate(ComboBox2->currentText());
    if (!date) {
        ui::showError(this, date.error());
        return;
    }
    {
        const QSignalBlocker blocker(DateTimePicker1);
        DateTimePicker1->setDate(*date);
    }
    DateTimePicker1Change();
}

// Integer sheet.

void TAnonymizationF::RadioButton6Click()
{
    perform(editor::noMask(tcInteger), RadioButton6);
}

void TAnonymizationF::RadioButton7Click()
{
    const TColumnRec* slot = currentSlot();
    if (!slot)
        return;
    storeConstant(editor::constantValue(*slot, tcInteger, Edit5->text()), RadioButton7,
                  ComboBox1, Label7);
}

void TAnonymizationF::RadioButton8Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::noise(*slot, tcInteger, Edit2->text()), RadioButton8);
}

void TAnonymizationF::RadioButton9Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::randomRange(*slot, tcInteger, Edit3->text(), Edit4->text()),
                RadioButton9);
}

void TAnonymizationF::RadioButton10Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::shuffle(*slot, tcInteger), RadioButton10);
}

void TAnonymizationF::RadioButton17Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::setNull(*slot, tcInteger), RadioButton17);
}

void TAnonymizationF::Edit2Change()
{
    select(RadioButton8, &TAnonymizationF::RadioButton8Click);
}

void TAnonymizationF::Edit3Change()
{
    select(RadioButton9, &TAnonymizationF::RadioButton9Click);
}

void TAnonymizationF::Edit5Change()
{
    select(RadioButton7, &TAnonymizationF::RadioButton7Click);
}

void TAnonymizationF::ComboBox1Change()
{
    chooseKeyValue(Edit5, RadioButton7, ComboBox1->currentText());
    RadioButton7Click();
}

// Text sheet.

void TAnonymizationF::RadioButton11Click()
{
    perform(editor::noMask(tcVarchar), RadioButton11);
}

void TAnonymizationF::RadioButton12Click()
{
    const TColumnRec* slot = currentSlot();
    if (!slot)
        return;
    storeConstant(editor::constantText(*slot, Edit6->text()), RadioButton12, ComboBox3, Label10);
}

void TAnonymizationF::RadioButton13Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::userText(*slot, Edit7->text()), RadioButton13);
}

void TAnonymizationF::RadioButton25Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::loremLength(*slot, Edit14->text(), Edit15->text()), RadioButton25);
}

void TAnonymizationF::RadioButton14Click()
{
    // Listed again until one is chosen: the working directory may have
    // changed since the folder was watched.
    if (!hasChosenEntry(ComboBox4))
        refreshWordLists();
    ComboBox4->setEnabled(true);
    if (const TColumnRec* slot = currentSlot())
        perform(editor::virtualData(*slot, ComboBox4->currentText()), RadioButton14);
}

void TAnonymizationF::refreshWordLists()
{
    // The folder itself and the directory above it, so that a folder created
    // or renamed later is seen as well.
    const QString folder = VirtualDataFolder();
    QStringList watched{QDir::currentPath()};
    if (!folder.isEmpty())
        watched.append(folder);
    if (m_wordListWatcher->directories() != watched) {
        if (!m_wordListWatcher->directories().isEmpty())
            m_wordListWatcher->removePaths(m_wordListWatcher->directories());
        m_wordListWatcher->addPaths(watched);
    }

    QStringList names;
    FindFiles(folder, QStringLiteral("*.*"), names);
    const QString shown = ComboBox4->currentText();
    refill(ComboBox4, names);
    if (const int chosen = ComboBox4->findText(shown); chosen >= 0) {
        const QSignalBlocker blocker(ComboBox4);
        ComboBox4->setCurrentIndex(chosen);
    }
    // Said in the list itself, as an entry that cannot be chosen nor completed to.
    if (names.isEmpty()) {
        ComboBox4->setCompleter(nullptr);
        const QSignalBlocker blocker(ComboBox4);
        ComboBox4->addItem(NoWordListYet); // the first entry becomes current: undone below
        if (auto* model = qobject_cast<QStandardItemModel*>(ComboBox4->model()))
            model->item(0)->setFlags(Qt::NoItemFlags);
        ComboBox4->setCurrentIndex(-1);
        ComboBox4->setEditText(shown);
    } else if (!ComboBox4->completer()) {
        auto* completer = new QCompleter(ComboBox4->model(), ComboBox4);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setCompletionMode(QCompleter::InlineCompletion);
        ComboBox4->setCompleter(completer);
    }
}

void TAnonymizationF::RadioButton15Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::shuffle(*slot, tcVarchar), RadioButton15);
}

void TAnonymizationF::RadioButton18Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::setNull(*slot, tcVarchar), RadioButton18);
}

void TAnonymizationF::Edit6Change()
{
    select(RadioButton12, &TAnonymizationF::RadioButton12Click);
}

void TAnonymizationF::Edit7Change()
{
    select(RadioButton13, &TAnonymizationF::RadioButton13Click);
}

void TAnonymizationF::Edit14Change()
{
    select(RadioButton25, &TAnonymizationF::RadioButton25Click);
}

void TAnonymizationF::Label11Click()
{
    Edit7->setText(LoremText);
}

void TAnonymizationF::ComboBox3Change()
{
    chooseKeyValue(Edit6, RadioButton12, ComboBox3->currentText());
    RadioButton12Click();
}

void TAnonymizationF::ComboBox4Change()
{
    // Checked first, so that a refusal leaves no radio button checked.
    select(RadioButton14, &TAnonymizationF::RadioButton14Click);
}

// Float sheet.

void TAnonymizationF::RadioButton19Click()
{
    perform(editor::noMask(tcFloat), RadioButton19);
}

void TAnonymizationF::RadioButton20Click()
{
    const TColumnRec* slot = currentSlot();
    if (!slot)
        return;
    storeConstant(editor::constantValue(*slot, tcFloat, Edit8->text()), RadioButton20,
                  ComboBox5, Label12);
}

void TAnonymizationF::RadioButton21Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::floatNoise(*slot, Edit9->text(), Edit12->text()), RadioButton21);
}

void TAnonymizationF::RadioButton22Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::randomRange(*slot, tcFloat, Edit10->text(), Edit11->text()),
                RadioButton22);
}

void TAnonymizationF::RadioButton23Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::shuffle(*slot, tcFloat), RadioButton23);
}

void TAnonymizationF::RadioButton24Click()
{
    if (const TColumnRec* slot = currentSlot())
        perform(editor::setNull(*slot, tcFloat), RadioButton24);
}

void TAnonymizationF::Edit8Change()
{
    select(RadioButton20, &TAnonymizationF::RadioButton20Click);
}

void TAnonymizationF::Edit9Change()
{
    select(RadioButton21, &TAnonymizationF::RadioButton21Click);
}

void TAnonymizationF::Edit10Change()
{
    select(RadioButton22, &TAnonymizationF::RadioButton22Click);
}

void TAnonymizationF::ComboBox5Change()
{
    chooseKeyValue(Edit8, RadioButton20, ComboBox5->currentText());
    RadioButton20Click();
}

} // namespace corvane
