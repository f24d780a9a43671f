#include "catalogue/textconv.h"
#include "check/checkstate.h"
#include "tests/support/fakeconnection.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/testlocale.h"
#include "tests/support/workingdirectory.h"
#include "tests/support/workspace.h"
#include "ui/check/findingspanel.h"
#include "ui/editor/anonymizationf.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace corvane;

namespace {

// Slots as the loader leaves them: the database node, a table node, then columns.
enum Slot { Database, Table, Qty, CustomerId, Name, Born, Price, Country, Notes };

TColumnRec columnSlot(const QString& col, const QString& typ, const QString& charMax = {},
                      const QString& pkTable = {})
{
    TColumnRec slot;
    slot.stab = QStringLiteral("dbo.Orders");
    slot.col = col;
    slot.typ = typ;
    slot.isnull = QStringLiteral("YES");
    slot.char_max = charMax;
    slot.method = NoMethodYet;
    if (!pkTable.isEmpty()) {
        slot.PK_table = pkTable;
        slot.PK_column = QStringLiteral("Id");
    }
    return slot;
}

TData fixtureCatalogue()
{
    TData data(2);
    data.append(columnSlot(QStringLiteral("Qty"), QStringLiteral("int")));
    data.append(columnSlot(QStringLiteral("CustomerId"), QStringLiteral("int"), {},
                           QStringLiteral("Customer")));
    TColumnRec name = columnSlot(QStringLiteral("Name"), QStringLiteral("varchar"),
                                 QStringLiteral("10"));
    name.isnull = QStringLiteral("NO");
    data.append(name);
    data.append(columnSlot(QStringLiteral("Born"), QStringLiteral("datetime")));
    data.append(columnSlot(QStringLiteral("Price"), QStringLiteral("money")));
    data.append(columnSlot(QStringLiteral("Country"), QStringLiteral("varchar"),
                           QStringLiteral("30"), QStringLiteral("Countries")));
    data.append(columnSlot(QStringLiteral("Notes"), QStringLiteral("nvarchar"),
                           QStringLiteral("-1")));
    return data;
}

using test::WorkingDirectory;

QString stored(const TColumnRec& slot)
{
    return QString::number(slot.method) + u'|' + slot.param1 + u'|' + slot.param2;
}

} // namespace

Q_DECLARE_METATYPE(Slot)

using namespace Qt::StringLiterals;

class TestAnonymizationF : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { test::useTestLocale(); }
    void init();
    void cleanup();

    void initialState();
    void captions_data();
    void captions();
    void eachKeystrokeStores();
    void keyFilters_data();
    void keyFilters();
    void clickIntoEditSelectsItsMethod();
    void showColumnChecksRadio_data();
    void showColumnChecksRadio();
    void everyStoredCodeOnItsOwnRadio();
    void showColumnOfUneditedColumn_data();
    void showColumnOfUneditedColumn();
    void showColumnOfUnreadableDate();
    void showColumnKeepsOtherControls();
    void randomIntervalShownAndStoredAgain();
    void nullRefusalLeavesNoRadioChecked();
    void foreignKeyRefusals();
    void constantTextLongerThanColumn();
    void loremIpsumCaption();
    void loremLengthReset();
    void keyValueListBelongsToItsColumn();
    void pickerClickStoresOnce();
    void virtualDataList();
    void newWordListAppearsWithoutAClick();
    void blankUserTextRefused();
    void staleIndexAfterReload();
    void findingsOfTheColumnShown();

private:
    template <typename T>
    T* control(const char* name)
    {
        T* found = m_form->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    // As the main window does; the sheet then lays out, so that clicks land.
    void showColumn(int index)
    {
        m_form->ShowColumn(index);
        QCoreApplication::processEvents();
    }
    // On the button's indicator: a button answers clicks on its indicator and text only.
    static void click(QRadioButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    QRadioButton* radio(const char* name) { return control<QRadioButton>(name); }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(name); }
    const TColumnRec& slot(Slot index) { return m_state->catalogue().at(index); }
    void change(Slot index, const std::function<void(TColumnRec&)>& edit) { m_state->editSlot(index, edit); }
    QStringList checkedRadios(QWidget* sheet) const;

    std::unique_ptr<Workspace> m_state;
    test::FakeServer m_server;
    std::unique_ptr<test::FakeDialogs> m_dialogs;
    std::unique_ptr<TAnonymizationF> m_form;
};

void TestAnonymizationF::init()
{
    m_server = test::FakeServer();
    m_state = std::make_unique<Workspace>(m_server.factory());
    test::load(*m_state, fixtureCatalogue(), QStringLiteral("Data Source=db1"));
    m_dialogs = std::make_unique<test::FakeDialogs>();
    m_form = std::make_unique<TAnonymizationF>();
    m_form->SetData(*m_state);
    m_form->resize(800, 400);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestAnonymizationF::cleanup()
{
    // A value list still being read uses m_server from its worker.
    QVERIFY(!m_form || QTest::qWaitFor([this] {
        for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox5"})
            if (!control<QComboBox>(name)->isEnabled())
                return false;
        return true;
    }));
    m_form.reset();
    m_dialogs.reset();
}

QStringList TestAnonymizationF::checkedRadios(QWidget* sheet) const
{
    QStringList names;
    for (const QRadioButton* button : sheet->findChildren<QRadioButton*>())
        if (button->isChecked())
            names << button->objectName();
    return names;
}

void TestAnonymizationF::initialState()
{
    QTabWidget* pages = m_form->PageControl1();
    QCOMPARE(pages->objectName(), QStringLiteral("PageControl1"));
    QCOMPARE(pages->count(), 4);
    QStringList tabs;
    for (int i = 0; i < pages->count(); ++i)
        tabs << pages->widget(i)->objectName() + u'=' + pages->tabText(i);
    QCOMPARE(tabs, (QStringList{QStringLiteral("TsDateTime=DateTime"), QStringLiteral("TsInt=Integer"),
                                QStringLiteral("TsVarchar=Varchar"), QStringLiteral("TsFloat=Float")}));
    QCOMPARE(pages->currentWidget(), m_form->TsFloat);

    QCOMPARE(checkedRadios(m_form->TsDateTime), QStringList{QStringLiteral("RadioButton1")});
    QCOMPARE(checkedRadios(m_form->TsInt), QStringList{QStringLiteral("RadioButton6")});
    QCOMPARE(checkedRadios(m_form->TsVarchar), QStringList{QStringLiteral("RadioButton11")});
    QCOMPARE(checkedRadios(m_form->TsFloat), QStringList{QStringLiteral("RadioButton19")});

    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit8", "Edit9", "Edit10",
                             "Edit11", "Edit12", "Edit14", "Edit15"})
        QCOMPARE(edit(name)->text(), QStringLiteral("0"));
    QVERIFY(edit("Edit6")->text().isEmpty());
    QVERIFY(edit("Edit7")->text().isEmpty());

    for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox5"}) {
        QVERIFY(control<QComboBox>(name)->isHidden());
        QCOMPARE(control<QComboBox>(name)->currentText(), QStringLiteral("Choose value.."));
    }
    for (const char* name : {"Label7", "Label9", "Label10", "Label12"})
        QVERIFY(control<QLabel>(name)->isHidden());
    QVERIFY(!m_form->ComboBox4->isEnabled());
    QCOMPARE(m_form->ComboBox4->currentText(), QStringLiteral("Virtual data.."));

    QCOMPARE(m_form->DateTimePicker1->displayFormat(), ShortDateFormat());
    QVERIFY(m_form->DateTimePicker1->calendarPopup());
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestAnonymizationF::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const std::pair<const char*, const char*> captions[] = {
        {"RadioButton1", "No mask"},        {"RadioButton2", "Constant date"},
        {"RadioButton3", "Noise range ( days )"}, {"RadioButton5", "Random interval from"},
        {"RadioButton4", "Shuffle"},        {"RadioButton16", "NULL"},
        {"RadioButton6", "No mask"},        {"RadioButton7", "Constant value"},
        {"RadioButton8", "Noise range"},    {"RadioButton9", "Random from"},
        {"RadioButton10", "Shuffle"},       {"RadioButton17", "NULL"},
        {"RadioButton11", "No mask"},       {"RadioButton12", "Constant text"},
        {"RadioButton13", "User defined text with same length"},
        {"RadioButton25", "Lorem ipsum random length from"},
        {"RadioButton14", "Virtual data"},  {"RadioButton15", "Shuffle"},
        {"RadioButton18", "NULL"},          {"RadioButton19", "No mask"},
        {"RadioButton20", "Constant value"}, {"RadioButton21", "Noise range"},
        {"RadioButton22", "Random from"},   {"RadioButton23", "Shuffle"},
        {"RadioButton24", "NULL"},          {"Label3", "to"},
        {"Label6", "to"},                   {"Label7", "FK values"},
        {"Label9", "FK values"},            {"Label10", "FK values"},
        {"Label11", "Lorem ipsum"},         {"Label12", "FK values"},
        {"Label15", "to"},                  {"Label16", "Decimals"},
        {"Label19", "to"},
    };
    for (const auto& [name, caption] : captions)
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption);
}

void TestAnonymizationF::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QWidget* widget = m_form->findChild<QWidget*>(name);
    QVERIFY(widget);
    if (auto* button = qobject_cast<QRadioButton*>(widget))
        QCOMPARE(button->text(), caption);
    else
        QCOMPARE(qobject_cast<QLabel*>(widget)->text(), caption);
}

void TestAnonymizationF::eachKeystrokeStores()
{
    showColumn(Qty);
    QLineEdit* noise = edit("Edit2");
    noise->clear();
    QCOMPARE(stored(slot(Qty)), QStringLiteral("102||"));
    QTest::keyClick(noise, Qt::Key_1);
    QCOMPARE(stored(slot(Qty)), QStringLiteral("102|1|"));
    QTest::keyClick(noise, Qt::Key_2);
    QCOMPARE(stored(slot(Qty)), QStringLiteral("102|12|"));
    QVERIFY(radio("RadioButton8")->isChecked());
    QCOMPARE(checkedRadios(m_form->TsInt), QStringList{QStringLiteral("RadioButton8")});

    // A random range, then Shuffle: the bounds stay in the slot.
    edit("Edit4")->setText(QStringLiteral("9"));
    QCOMPARE(stored(slot(Qty)), QStringLiteral("103|0|9"));
    click(radio("RadioButton10"));
    QCOMPARE(stored(slot(Qty)), QStringLiteral("104|0|9"));
    click(radio("RadioButton6"));
    QCOMPARE(stored(slot(Qty)), QStringLiteral("100|0|9"));
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestAnonymizationF::keyFilters_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");

    QTest::newRow("Edit1 digits") << "Edit1" << "1a-2.3" << "123";
    QTest::newRow("Edit2 digits") << "Edit2" << "-4x5" << "45";
    QTest::newRow("Edit12 digits") << "Edit12" << "2.5" << "25";
    QTest::newRow("Edit14 digits") << "Edit14" << "-7" << "7";
    QTest::newRow("Edit15 digits") << "Edit15" << "1e3" << "13";
    QTest::newRow("Edit3 sign") << "Edit3" << "-1.5" << "-15";
    QTest::newRow("Edit4 sign") << "Edit4" << "+-8" << "-8";
    QTest::newRow("Edit5 sign") << "Edit5" << "--3a" << "--3";
    QTest::newRow("Edit8 decimal") << "Edit8" << "-1.5e2" << "-1.52";
    QTest::newRow("Edit9 decimal") << "Edit9" << "0,5" << "05";
    QTest::newRow("Edit10 decimal") << "Edit10" << "1..2" << "1..2";
    QTest::newRow("Edit11 decimal") << "Edit11" << " 3" << "3";
    QTest::newRow("Edit6 any") << "Edit6" << "a-1.x" << "a-1.x";
    QTest::newRow("Edit7 any") << "Edit7" << "O'Brien;" << "O'Brien;";
}

void TestAnonymizationF::keyFilters()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    showColumn(Qty);
    QLineEdit* target = m_form->findChild<QLineEdit*>(name);
    QVERIFY(target);
    target->clear();
    QTest::keyClicks(target, typed);
    QCOMPARE(target->text(), text);

    // Editing keys are not typing: backspace, arrows and delete pass.
    QTest::keyClick(target, Qt::Key_End);
    QTest::keyClick(target, Qt::Key_Backspace);
    QCOMPARE(target->text(), text.chopped(1));
    QTest::keyClick(target, Qt::Key_Home);
    QTest::keyClick(target, Qt::Key_Delete);
    QCOMPARE(target->text(), text.chopped(1).mid(1));
}

void TestAnonymizationF::clickIntoEditSelectsItsMethod()
{
    showColumn(Price);
    QTest::mouseClick(edit("Edit11"), Qt::LeftButton);
    QCOMPARE(checkedRadios(m_form->TsFloat), QStringList{QStringLiteral("RadioButton22")});
    QCOMPARE(stored(slot(Price)), QStringLiteral("2003|0|0"));

    // A click into the user text only places the cursor.
    showColumn(Name);
    QTest::mouseClick(edit("Edit7"), Qt::LeftButton);
    QCOMPARE(slot(Name).method, NoMethodYet);
    QTest::mouseClick(edit("Edit14"), Qt::LeftButton);
    QCOMPARE(stored(slot(Name)), QStringLiteral("1003|0|0"));

    // So does a change of a picker's date.
    showColumn(Born);
    m_form->DateTimePicker1->setDate(QDate(2030, 7, 4));
    QCOMPARE(stored(slot(Born)), QStringLiteral("1|7/4/2030|"));
    QCOMPARE(checkedRadios(m_form->TsDateTime), QStringList{QStringLiteral("RadioButton2")});
}

void TestAnonymizationF::showColumnChecksRadio_data()
{
    QTest::addColumn<Slot>("column");
    QTest::addColumn<QList<int>>("methods");
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QStringList>("filled"); // "control=text" of every control filled

    // Every parameter reads "2/29/2024" and "1/1/2025", so that one fixture serves every row.
    const QString one = QStringLiteral("=2/29/2024"), two = QStringLiteral("=1/1/2025");
    const auto row = [](Slot column, QList<int> methods, const char* radio, QStringList filled = {}) {
        QString name;
        for (int code : methods)
            name += QString::number(code) + u' ';
        QTest::newRow(qPrintable(name)) << column << methods << QString::fromLatin1(radio) << filled;
    };
    row(Born, {0}, "RadioButton1");
    row(Born, {1, 5}, "RadioButton2", {u"DateTimePicker1"_s + one});
    row(Born, {2, 6}, "RadioButton3", {u"Edit1"_s + one});
    row(Born, {3, 7}, "RadioButton4");
    // The picker shows the interval's last day, the day before the stored end.
    row(Born, {4, 8}, "RadioButton5", {u"DateTimePicker2"_s + one, u"DateTimePicker3=12/31/2024"_s});
    row(Born, {9}, "RadioButton16");
    row(Qty, {100}, "RadioButton6");
    row(CustomerId, {101, 105}, "RadioButton7", {u"Edit5"_s + one});
    row(CustomerId, {102, 106}, "RadioButton8", {u"Edit2"_s + one});
    row(CustomerId, {103, 107}, "RadioButton9", {u"Edit3"_s + one, u"Edit4"_s + two});
    row(CustomerId, {104, 108}, "RadioButton10");
    row(Qty, {109}, "RadioButton17");
    row(Name, {1000}, "RadioButton11");
    row(Country, {1001, 1005}, "RadioButton12", {u"Edit6"_s + one});
    row(Name, {1002}, "RadioButton13", {u"Edit7"_s + one});
    row(Name, {1003}, "RadioButton25", {u"Edit14"_s + one, u"Edit15"_s + two});
    row(Country, {1004, 1008}, "RadioButton15");
    row(Name, {1007}, "RadioButton14", {u"ComboBox4"_s + one});
    row(Name, {1009}, "RadioButton18");
    row(Price, {2000}, "RadioButton19");
    row(Price, {2001, 2005}, "RadioButton20", {u"Edit8"_s + one});
    row(Price, {2002, 2006}, "RadioButton21", {u"Edit9"_s + one, u"Edit12"_s + two});
    row(Price, {2003, 2007}, "RadioButton22", {u"Edit10"_s + one, u"Edit11"_s + two});
    row(Price, {2004, 2008}, "RadioButton23");
    row(Price, {2009}, "RadioButton24");
    // From a project file, or a type that changed family: a code of another
    // family checks its own sheet's radio.
    row(Qty, {1001}, "RadioButton12", {u"Edit6"_s + one});
    row(Price, {4}, "RadioButton5", {u"DateTimePicker2"_s + one, u"DateTimePicker3=12/31/2024"_s});
}

void TestAnonymizationF::showColumnChecksRadio()
{
    QFETCH(Slot, column);
    QFETCH(QList<int>, methods);
    QFETCH(QString, radio);
    QFETCH(QStringList, filled);

    for (const int method : methods) {
        change(column, [&](TColumnRec& target) {
            target.method = method;
            target.param1 = QStringLiteral("2/29/2024");
            target.param2 = QStringLiteral("1/1/2025");
        });
        const TColumnRec& target = slot(column);
        const QString before = stored(target);

        // Another radio checked and the controls blank first, so that showing must set them.
        QRadioButton* checked = m_form->findChild<QRadioButton*>(radio);
        for (QAbstractButton* other : checked->group()->buttons()) {
            if (other != checked) {
                other->setChecked(true);
                break;
            }
        }
        for (const QString& fill : filled) {
            QObject* widget = m_form->findChild<QObject*>(fill.section(u'=', 0, 0));
            const QSignalBlocker quiet(widget);
            if (auto* line = qobject_cast<QLineEdit*>(widget))
                line->clear();
            else if (auto* date = qobject_cast<QDateEdit*>(widget))
                date->setDate(QDate(2000, 1, 1));
            else if (auto* box = qobject_cast<QComboBox*>(widget))
                box->setEditText(QString());
        }
        m_form->ShowColumn(column);

        QCOMPARE(checkedRadios(checked->parentWidget()), QStringList{radio});
        for (const QString& fill : filled) {
            QObject* widget = m_form->findChild<QObject*>(fill.section(u'=', 0, 0));
            QString text;
            if (auto* line = qobject_cast<QLineEdit*>(widget))
                text = line->text();
            else if (auto* date = qobject_cast<QDateEdit*>(widget))
                text = DateToText(date->date());
            else if (auto* box = qobject_cast<QComboBox*>(widget))
                text = box->currentText();
            QCOMPARE(text, fill.section(u'=', 1));
        }
        // A code of another family shows on its own sheet, as stored.
        QCOMPARE(m_form->PageControl1()->currentWidget(), checked->parentWidget());
        QCOMPARE(stored(slot(column)), before);
    }
    QVERIFY2(m_dialogs->shown.isEmpty(), qPrintable(m_dialogs->texts().join(u'\n')));
    QVERIFY(m_server.sent.isEmpty());
}



// Every method of the table, on a column of each type: one radio checked, on
// the method's own sheet, the same radio for a method and its foreign-key
// variant and a radio of its own for every other method; nothing stored.
void TestAnonymizationF::everyStoredCodeOnItsOwnRadio()
{
    QHash<QRadioButton*, MethodCode> owner; // the plain code each radio shows
    const auto shownRadio = [this](Slot column, MethodCode code) -> QRadioButton* {
        change(column, [&](TColumnRec& target) {
            target.method = code;
            target.param1 = QStringLiteral("2/29/2024");
            target.param2 = QStringLiteral("1/1/2025");
        });
        const TColumnRec& target = slot(column);
        const QString before = stored(target);
        showColumn(column);
        QWidget* sheet = m_form->PageControl1()->currentWidget();
        const QList<QRadioButton*> checked = [&] {
            QList<QRadioButton*> out;
            for (QRadioButton* button : sheet->findChildren<QRadioButton*>())
                if (button->isChecked())
                    out << button;
            return out;
        }();
        if (checked.size() != 1 || stored(slot(column)) != before)
            return nullptr;
        return checked.first();
    };
    for (const Slot column : {Qty, Born, Price, Name, Notes}) {
        for (const MethodInfo& method : Methods) {
            QRadioButton* radio = shownRadio(column, method.code);
            QVERIFY2(radio, qPrintable(QString::number(method.code)));
            const MethodCode plain = method.foreignKey ? method.code - 4 : method.code;
            const auto known = owner.constFind(radio);
            if (known == owner.cend())
                owner.insert(radio, plain);
            else
                QCOMPARE(*known, plain);
        }
        for (const TypeCategory family : MethodFamilies) {
            QRadioButton* radio = shownRadio(column, noMaskCode(family));
            QVERIFY(radio);
            QCOMPARE(radio->text(), QStringLiteral("No mask"));
            QCOMPARE(m_form->PageControl1()->currentWidget(), radio->parentWidget());
        }
    }
    QCOMPARE(owner.size(), 25 - 4); // every radio but the four "No mask"
    QVERIFY2(m_dialogs->shown.isEmpty(), qPrintable(m_dialogs->texts().join(u'\n')));
}

void TestAnonymizationF::showColumnOfUneditedColumn_data()
{
    QTest::addColumn<Slot>("column");
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("noMask");
    QTest::newRow("integer") << Qty << "TsInt" << "RadioButton6";
    QTest::newRow("date-time") << Born << "TsDateTime" << "RadioButton1";
    QTest::newRow("float") << Price << "TsFloat" << "RadioButton19";
    QTest::newRow("text") << Name << "TsVarchar" << "RadioButton11";
    QTest::newRow("other type") << Notes << "TsVarchar" << "RadioButton11";
}

void TestAnonymizationF::showColumnOfUneditedColumn()
{
    QFETCH(Slot, column);
    QFETCH(QString, sheet);
    QFETCH(QString, noMask);
    // Another method shows first, so that the "No mask" radio must be set.
    for (QRadioButton* button : m_form->findChildren<QRadioButton*>())
        if (button->text() == QStringLiteral("Shuffle"))
            button->setChecked(true);

    showColumn(column);
    QCOMPARE(m_form->PageControl1()->currentWidget()->objectName(), sheet);
    QVERIFY(m_form->findChild<QRadioButton*>(noMask)->isChecked());
    QCOMPARE(slot(column).method, NoMethodYet);

    // The database node: the text sheet, with the date-time sheet's "No mask".
    radio("RadioButton4")->setChecked(true);
    showColumn(Database);
    QCOMPARE(m_form->PageControl1()->currentWidget(), m_form->TsVarchar);
    QVERIFY(radio("RadioButton1")->isChecked());
    QCOMPARE(stored(slot(Database)), QStringLiteral("0||"));
}

void TestAnonymizationF::showColumnOfUnreadableDate()
{
    change(Born, [](TColumnRec& s) {
        s.method = 4;
        s.param1 = QStringLiteral("31.12.2024");
        s.param2 = QStringLiteral("1/1/2025");
    });
    const QDate before = m_form->DateTimePicker3->date();
    showColumn(Born);
    QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("error: '31.12.2024' is not a valid date")});
    QVERIFY(radio("RadioButton5")->isChecked());
    // Showing stops at the unreadable date.
    QCOMPARE(m_form->DateTimePicker3->date(), before);
    QCOMPARE(stored(slot(Born)), QStringLiteral("4|31.12.2024|1/1/2025"));
}

void TestAnonymizationF::showColumnKeepsOtherControls()
{
    showColumn(Qty);
    edit("Edit3")->setText(QStringLiteral("-4"));
    QCOMPARE(stored(slot(Qty)), QStringLiteral("103|-4|0"));

    // Another integer column showing Shuffle keeps the range edits as they were.
    change(CustomerId, [](TColumnRec& s) { s.method = 108; });
    showColumn(CustomerId);
    QCOMPARE(edit("Edit3")->text(), QStringLiteral("-4"));
    QCOMPARE(stored(slot(CustomerId)), QStringLiteral("108||"));
    QCOMPARE(stored(slot(Qty)), QStringLiteral("103|-4|0"));
}

void TestAnonymizationF::randomIntervalShownAndStoredAgain()
{
    showColumn(Born);
    m_form->DateTimePicker2->setDate(QDate(2024, 3, 10));
    m_form->DateTimePicker3->setDate(QDate(2024, 3, 10));
    QCOMPARE(stored(slot(Born)), QStringLiteral("4|3/10/2024|3/11/2024"));

    {
        const QSignalBlocker quiet(m_form->DateTimePicker3);
        m_form->DateTimePicker3->setDate(QDate(2000, 1, 1));
    }
    showColumn(Born);
    QCOMPARE(m_form->DateTimePicker3->date(), QDate(2024, 3, 10));
    click(radio("RadioButton5"));
    QCOMPARE(stored(slot(Born)), QStringLiteral("4|3/10/2024|3/11/2024"));
}

void TestAnonymizationF::nullRefusalLeavesNoRadioChecked()
{
    showColumn(Name); // isnull "NO"
    edit("Edit6")->setText(QStringLiteral("abc"));
    QCOMPARE(stored(slot(Name)), QStringLiteral("1001|abc|"));

    click(radio("RadioButton18"));
    QCOMPARE(m_dialogs->texts(),
             QStringList{QStringLiteral("message: Cannot insert tha value NULL into this column.")});
    QVERIFY(checkedRadios(m_form->TsVarchar).isEmpty());
    QCOMPARE(stored(slot(Name)), QStringLiteral("1001|abc|"));

    // The group stays exclusive after the refusal.
    click(radio("RadioButton15"));
    click(radio("RadioButton11"));
    QCOMPARE(checkedRadios(m_form->TsVarchar), QStringList{QStringLiteral("RadioButton11")});
    QCOMPARE(stored(slot(Name)), QStringLiteral("1000|abc|"));

    // Anything but exactly "NO" takes the NULL code.
    change(Name, [](TColumnRec& s) { s.isnull = QStringLiteral("no"); });
    click(radio("RadioButton18"));
    QCOMPARE(stored(slot(Name)), QStringLiteral("1009|abc|"));
}

void TestAnonymizationF::foreignKeyRefusals()
{
    showColumn(Country);
    for (const char* name : {"RadioButton13", "RadioButton25", "RadioButton14"}) {
        m_dialogs->shown.clear();
        click(radio("RadioButton15"));
        QCOMPARE(stored(slot(Country)), QStringLiteral("1008||"));
        click(radio(name));
        QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("message: Not allowed for foreign key.")});
        QVERIFY2(checkedRadios(m_form->TsVarchar).isEmpty(), name);
        QCOMPARE(stored(slot(Country)), QStringLiteral("1008||"));
    }
    // The caption fills the user text, whose change is refused in turn.
    m_dialogs->shown.clear();
    QTest::mouseClick(m_form->Label11, Qt::LeftButton);
    QCOMPARE(edit("Edit7")->text(), LoremText);
    QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("message: Not allowed for foreign key.")});
    QCOMPARE(stored(slot(Country)), QStringLiteral("1008||"));
}

void TestAnonymizationF::constantTextLongerThanColumn()
{
    showColumn(Name); // char_max 10
    QTest::keyClicks(edit("Edit6"), QStringLiteral("0123456789"));
    QCOMPARE(stored(slot(Name)), QStringLiteral("1001|0123456789|"));
    QVERIFY(m_dialogs->shown.isEmpty());

    QTest::keyClick(edit("Edit6"), Qt::Key_X);
    QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("message: Max length is 10 !")});
    QVERIFY(edit("Edit6")->text().isEmpty());
    QVERIFY(radio("RadioButton12")->isChecked());
    QCOMPARE(stored(slot(Name)), QStringLiteral("1001|0123456789|"));

    // An unbounded column (char_max -1) takes any length.
    m_dialogs->shown.clear();
    showColumn(Notes);
    edit("Edit6")->clear();
    QTest::keyClick(edit("Edit6"), Qt::Key_A);
    QVERIFY(m_dialogs->shown.isEmpty());
    QCOMPARE(stored(slot(Notes)), QStringLiteral("1001|a|"));

    m_dialogs->shown.clear();
    change(Notes, [](TColumnRec& s) { s.char_max.clear(); });
    QTest::keyClick(edit("Edit6"), Qt::Key_A);
    QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("error: '' is not a valid integer value")});
    QCOMPARE(stored(slot(Notes)), QStringLiteral("1001|a|"));
}

void TestAnonymizationF::loremIpsumCaption()
{
    showColumn(Name);
    QTest::mouseClick(m_form->Label11, Qt::LeftButton);
    QCOMPARE(stored(slot(Name)), QStringLiteral("1002|") + LoremText.left(100) + u'|');
    QCOMPARE(checkedRadios(m_form->TsVarchar), QStringList{QStringLiteral("RadioButton13")});
    QVERIFY(m_dialogs->shown.isEmpty());
    // Shown again, the editor shows what the slot holds.
    showColumn(Name);
    QCOMPARE(edit("Edit7")->text(), LoremText.left(100));
}

void TestAnonymizationF::loremLengthReset()
{
    showColumn(Name); // char_max 10
    edit("Edit15")->setText(QStringLiteral("7"));
    QCOMPARE(stored(slot(Name)), QStringLiteral("1003|0|7"));

    QTest::keyClicks(edit("Edit14"), QStringLiteral("5")); // "05"
    QCOMPARE(stored(slot(Name)), QStringLiteral("1003|05|7"));
    QTest::keyClicks(edit("Edit14"), QStringLiteral("0")); // "050"
    QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("message: Max length is 10 !")});
    QCOMPARE(edit("Edit14")->text(), QStringLiteral("0"));
    // The reset is a change like any other: it stores the bounds now shown.
    QCOMPARE(stored(slot(Name)), QStringLiteral("1003|0|7"));
}

void TestAnonymizationF::keyValueListBelongsToItsColumn()
{
    m_server.answer(QStringLiteral("select [Id] from [Customer]"),
                    test::makeRows({QStringLiteral("Id")}, {{QStringLiteral("30")}, {QStringLiteral("4")}}));
    showColumn(CustomerId);
    edit("Edit5")->setText(QStringLiteral("7"));
    QCOMPARE(stored(slot(CustomerId)), QStringLiteral("105|7|"));
    QCOMPARE(m_dialogs->texts(),
             QStringList{QStringLiteral("message: foreign key - please choose the value only from combobox")});
    QTRY_VERIFY(m_form->ComboBox1->isEnabled());
    QCOMPARE(m_server.opened, QStringList{QStringLiteral("Data Source=db1")});
    QCOMPARE(m_form->ComboBox1->count(), 2);

    // A pick from the list stores silently, and the list is not read again:
    // neither by the pick nor by the next keystroke.
    m_dialogs->shown.clear();
    m_form->ComboBox1->setCurrentIndex(1);
    QCOMPARE(stored(slot(CustomerId)), QStringLiteral("105|4|"));
    QVERIFY(m_dialogs->shown.isEmpty());
    QCOMPARE(m_server.sent.size(), 1);
    QTest::keyClick(edit("Edit5"), Qt::Key_2);
    QCOMPARE(stored(slot(CustomerId)), QStringLiteral("105|42|"));
    QVERIFY(m_dialogs->shown.isEmpty());
    QCOMPARE(m_server.sent.size(), 1);
    QVERIFY(!m_form->ComboBox1->isHidden());
    QCOMPARE(m_form->ComboBox1->count(), 2);

    // Another column does not offer this column's keys, and a plain column
    // stores its constant without a list.
    showColumn(Qty);
    QVERIFY(m_form->ComboBox1->isHidden());
    QCOMPARE(m_form->ComboBox1->count(), 0);
    edit("Edit5")->setText(QStringLiteral("1"));
    QCOMPARE(stored(slot(Qty)), QStringLiteral("101|1|"));
    QVERIFY(m_form->ComboBox1->isHidden());
    QCOMPARE(m_server.sent.size(), 1);

    // The values come from the database the catalogue was read from.
    TData same = m_state->catalogue();
    test::load(*m_state, same, QStringLiteral("Data Source=db2"));
    showColumn(CustomerId);
    click(radio("RadioButton7"));
    QTRY_VERIFY(m_form->ComboBox1->isEnabled());
    QCOMPARE(m_server.opened.last(), QStringLiteral("Data Source=db2"));
    QCOMPARE(m_server.openConnections, 0);
}

void TestAnonymizationF::pickerClickStoresOnce()
{
    change(Born, [](TColumnRec& s) {
        s.PK_table = QStringLiteral("Calendar");
        s.PK_column = QStringLiteral("Day");
    });
    showColumn(Born);
    // Each click stores the constant; the server is asked once for the column shown.
    for (QWidget* part : {static_cast<QWidget*>(m_form->DateTimePicker1),
                          static_cast<QWidget*>(m_form->DateTimePicker1->findChild<QLineEdit*>())}) {
        change(Born, [](TColumnRec& s) { s.method = NoMethodYet; });
        QTest::mouseClick(part, Qt::LeftButton, {}, QPoint(5, part->height() / 2));
        QCOMPARE(slot(Born).method, 5);
        QTRY_VERIFY(m_form->ComboBox2->isEnabled());
        QCOMPARE(m_server.sent.size(), 1);
    }
    QCOMPARE(stored(slot(Born)), QStringLiteral("5|") + DateToText(m_form->DateTimePicker1->date()) + u'|');
}




void TestAnonymizationF::virtualDataList()
{
    const WorkingDirectory dir;
    QVERIFY(dir.entered());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Virtual_Data")));
    for (const char* name : {"names.txt", "cities.txt"}) {
        QFile file(dir.filePath(QStringLiteral("Virtual_Data/") + QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    showColumn(Name);
    click(radio("RadioButton14"));
    QVERIFY(m_form->ComboBox4->isEnabled());
    QCOMPARE(m_form->ComboBox4->count(), 2);
    QCOMPARE(m_form->ComboBox4->itemText(0), QStringLiteral("cities"));
    QCOMPARE(stored(slot(Name)), QStringLiteral("1007|Virtual data..|"));

    // Clicked again before a name is chosen: listed afresh, not twice.
    click(radio("RadioButton14"));
    QCOMPARE(m_form->ComboBox4->count(), 2);

    m_form->ComboBox4->setCurrentIndex(1);
    QCOMPARE(stored(slot(Name)), QStringLiteral("1007|names|"));
    QCOMPARE(checkedRadios(m_form->TsVarchar), QStringList{QStringLiteral("RadioButton14")});

    // A foreign-key column refuses the list, and leaves no radio checked.
    showColumn(Country);
    m_form->ComboBox4->setCurrentIndex(0);
    QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("message: Not allowed for foreign key.")});
    QVERIFY(checkedRadios(m_form->TsVarchar).isEmpty());
    QCOMPARE(slot(Country).method, NoMethodYet);
}

// The list follows the folder: a word list saved meanwhile is offered at once,
// and an empty folder says so in the list.
void TestAnonymizationF::newWordListAppearsWithoutAClick()
{
    const WorkingDirectory dir;
    QVERIFY(dir.entered());
    TAnonymizationF form;
    form.SetData(*m_state);
    QComboBox* lists = form.ComboBox4;
    QCOMPARE(lists->count(), 1);
    QVERIFY(lists->itemText(0).startsWith(QStringLiteral("No word list yet")));
    QVERIFY(!(lists->model()->flags(lists->model()->index(0, 0)) & Qt::ItemIsEnabled));
    QCOMPARE(lists->currentText(), QStringLiteral("Virtual data.."));

    // The folder appears, then a file in it.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("virtual_data")));
    QFile file(dir.filePath(QStringLiteral("virtual_data/towns.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QTRY_COMPARE(lists->count(), 1);
    QTRY_COMPARE(lists->itemText(0), QStringLiteral("towns"));
    QCOMPARE(lists->currentText(), QStringLiteral("Virtual data.."));

    // A chosen list stays chosen as others come and go; nothing is stored by the refresh.
    form.ShowColumn(Name);
    lists->setCurrentIndex(0);
    QCOMPARE(stored(slot(Name)), QStringLiteral("1007|towns|"));
    change(Name, [](TColumnRec& s) { s.method = NoMethodYet; });
    QFile other(dir.filePath(QStringLiteral("virtual_data/animals.txt")));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.close();
    QTRY_COMPARE(lists->count(), 2);
    QCOMPARE(lists->currentText(), QStringLiteral("towns"));
    QCOMPARE(lists->itemText(lists->currentIndex()), QStringLiteral("towns"));
    QCOMPARE(slot(Name).method, NoMethodYet);
}

void TestAnonymizationF::blankUserTextRefused()
{
    showColumn(Name);
    QTest::keyClick(edit("Edit7"), Qt::Key_A);
    QCOMPARE(stored(slot(Name)), QStringLiteral("1002|a|"));
    QTest::keyClick(edit("Edit7"), Qt::Key_Backspace);
    QCOMPARE(m_dialogs->texts(),
             QStringList{QStringLiteral(
                 "message: The user defined text must hold at least one character that is not a blank.")});
    QVERIFY(!radio("RadioButton13")->isChecked());
    QCOMPARE(stored(slot(Name)), QStringLiteral("1002|a|"));
}

void TestAnonymizationF::staleIndexAfterReload()
{
    showColumn(Notes);
    TData smaller = m_state->catalogue();
    smaller.resize(3); // a new login found a smaller database
    test::load(*m_state, smaller, QStringLiteral("Data Source=db1"));
    edit("Edit6")->setText(QStringLiteral("x"));
    click(radio("RadioButton15"));
    QCOMPARE(m_state->catalogue().size(), 3);
    QVERIFY(m_dialogs->shown.isEmpty());
    showColumn(Qty);
    click(radio("RadioButton10"));
    QCOMPARE(slot(Qty).method, 104);
}

// Under the sheets: the shown column's own findings, as its method changes;
// nothing for a table.
void TestAnonymizationF::findingsOfTheColumnShown()
{
    check::CheckState check(*m_state);
    m_form->SetCheck(check);
    ui::FindingsPanel* panel = m_form->findingsPanel();
    QVERIFY(panel);
    showColumn(Name);
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->summaryText(), QStringLiteral("No findings"));
    QVERIFY(!panel->view()->isVisible());

    // NULL into the NOT NULL column, as a project could bring it.
    change(Name, [](TColumnRec& s) { s.method = 1009; });
    QCOMPARE(panel->summaryText(), QStringLiteral("1 error, 0 warnings"));
    QVERIFY(panel->view()->isVisible());
    QCOMPARE(panel->view()->model()->rowCount(), 1);
    // Another column's findings are not this one's.
    showColumn(Qty);
    QCOMPARE(panel->summaryText(), QStringLiteral("No findings"));
    showColumn(Name);
    QCOMPARE(panel->view()->model()->rowCount(), 1);

    click(radio("RadioButton11")); // No mask
    QCOMPARE(slot(Name).method, 1000);
    QCOMPARE(panel->summaryText(), QStringLiteral("No findings"));
    QCOMPARE(panel->view()->model()->rowCount(), 0);

    showColumn(Table);
    QVERIFY(!panel->isVisible());
    m_form.reset(); // before the check it follows
}

QTEST_MAIN(TestAnonymizationF)
#include "test_anonymizationf.moc"
