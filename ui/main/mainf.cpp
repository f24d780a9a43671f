#include "ui/main/mainf.h"

#include "catalogue/choices.h"
#include "catalogue/loader.h"
#include "db/connectionstring.h"
#include "check/checkstate.h"
#include "check/factsquery.h"
#include "discovery/workspacefindings.h"
#include "project/loadsave.h"
#include "project/setseedf.h"
#include "project/virtualdataf.h"
#include "project/wordlist.h"
#include "run/runsqlf.h"
#include "script/sqlf.h"
#include "ui/common/dialogs.h"
#include "ui/discovery/discoverydialog.h"
#include "ui/editor/anonymizationf.h"
#include "ui/main/loginf.h"
#include "ui/main/schematreedelegate.h"
#include "ui/main/schematreemodel.h"
#include "ui/main/settings.h"
#include "ui/views/listf.h"
#include "ui/views/selectf.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStackedLayout>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <QTreeView>
#include <QVBoxLayout>

#include <utility>

// The picture of the strip lives in this library; a static library's resources
// are registered by hand.
static void initMainResources()
{
    Q_INIT_RESOURCE(mainui);
}

namespace corvane {

namespace {

const QString ProjectFilter = QStringLiteral("Corvane files | *.crv");
const QString AboutText = QStringLiteral("Corvane 1.0\nby the Corvane authors, 2026");
const QString UnsavedChoices =
    QStringLiteral("The masking choices have changes that are not saved in a project.");
const QString DiscardCaption = QStringLiteral("Discard changes");

QTableWidgetItem* readOnlyItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

// The node of `tree` that names the same table and column: its table when the
// column is gone, the database node when the table is.
int nodeNamed(const TData& catalogue, const SchemaTree& tree, const QString& table,
              const QString& column)
{
    if (!column.isEmpty())
        for (qsizetype slot = 0; slot < catalogue.size(); ++slot)
            if (IsColumn(catalogue.at(slot), table, column))
                return int(slot);
    for (const int node : tree.tables)
        if (tree.nodes.at(node).text == table)
            return node;
    return 0;
}

QString lostChoices(int count, const QString& database, const QString& server)
{
    const QString where = QStringLiteral(" not in the database %1 on %2: ").arg(database, server);
    if (count == 1)
        return QStringLiteral("1 masked column is") + where + QStringLiteral("its choice is lost.");
    return QString::number(count) + QStringLiteral(" masked columns are") + where +
           QStringLiteral("their choices are lost.");
}

} // namespace

TMainF::TMainF(db::ConnectionFactory connect, QWidget* parent)
    : QMainWindow(parent),
      m_workspace(new Workspace(std::move(connect), this)),
      m_check(new check::CheckState(*m_workspace, {&ReadWordList}, this)),
      m_findings(new discovery::WorkspaceFindings(*m_workspace, this)),
      m_runDialog([](QDialog& dialog) { return dialog.exec(); })
{
    initMainResources();
    QObject::connect(m_workspace, &Workspace::catalogueReplaced, this, &TMainF::catalogueReplaced);
    QObject::connect(m_workspace, &Workspace::projectFileChanged, this, &TMainF::updateTitle);
    QObject::connect(m_workspace, &Workspace::modifiedChanged, this, &QWidget::setWindowModified);
    setObjectName(QStringLiteral("MainF"));
    updateTitle();

    buildMenu();

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(buildTreeSide());
    splitter->addWidget(buildPages());
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 800});

    m_strip = new QLabel;
    m_strip->setObjectName(QStringLiteral("Image1"));
    m_strip->setPixmap(QPixmap(QStringLiteral(":/corvane/strip.jpg")));
    m_strip->setScaledContents(true);
    // Decoration: it stretches with the window and never sets its height.
    m_strip->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    m_strip->setFixedWidth(m_strip->pixmap().isNull() ? 0 : m_strip->pixmap().width());

    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_strip);
    setCentralWidget(central);
    fitToScreen();
}

// The window opens at a comfortable size that still fits the screen's
// available area (a 1280x720 screen at 100 %, 1366x768 at 125 %), whatever
// the scaling.
void TMainF::fitToScreen()
{
    const QSize wanted(1200, 760);
    QSize room = wanted;
    if (const QScreen* screen = this->screen())
        room = screen->availableSize() - QSize(16, 48); // the frame and the title bar
    resize(wanted.boundedTo(room).expandedTo(minimumSizeHint()));
}

TMainF::~TMainF()
{
    // It reads the workspace and the findings, which are deleted before it
    // would be as a child.
    delete m_discovery;
}

void TMainF::buildMenu()
{
    QMenuBar* bar = menuBar();
    const auto item = [this](QMenu* menu, const QString& caption, const QString& name,
                             void (TMainF::*handler)(), const QKeySequence& keys = {}) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    item(file, QStringLiteral("&Save project"), QStringLiteral("Saveproject1"),
         &TMainF::Saveproject1Click, QKeySequence::Save);
    m_catalogueActions << item(file, QStringLiteral("&Load project"), QStringLiteral("Loadproject1"),
                               &TMainF::Loadproject1Click, QKeySequence::Open);
    m_catalogueActions << item(file, QStringLiteral("Log&in"), QStringLiteral("Login1"),
                               &TMainF::Button1Click);
    m_catalogueActions << item(file, QStringLiteral("Set s&eed"), QStringLiteral("Setseed1"),
                               &TMainF::Setseed1Click);
    item(file, QStringLiteral("&Close"), QStringLiteral("Close1"), &TMainF::Close1Click);

    QMenu* virtualData = bar->addMenu(QStringLiteral("&Virtual data"));
    virtualData->setObjectName(QStringLiteral("Virtualdata1"));
    item(virtualData, QStringLiteral("&New file"), QStringLiteral("Insert1"),
         &TMainF::Insert1Click);
    item(virtualData, QStringLiteral("&Edit file"), QStringLiteral("Edit1"), &TMainF::Edit1Click);

    QMenu* tree = bar->addMenu(QStringLiteral("&Database tree"));
    tree->setObjectName(QStringLiteral("Databasetree1"));
    item(tree, QStringLiteral("&Expand"), QStringLiteral("Fullexpand1"), &TMainF::Fullexpand1Click);
    item(tree, QStringLiteral("&Collapse"), QStringLiteral("Minimize1"), &TMainF::Minimize1Click);
    tree->addSeparator();
    m_catalogueActions << item(tree, QStringLiteral("&Discovery"), QStringLiteral("Discovery1"),
                               &TMainF::Discovery1Click);

    // The menu title itself is the command.
    QAction* about = bar->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("About1"));
    connect(about, &QAction::triggered, this, &TMainF::About1Click);

    // No menu item of its own: the SQL page's button, from anywhere.
    auto* generate = new QAction(this);
    generate->setObjectName(QStringLiteral("GenerateSQL1"));
    generate->setShortcut(Qt::Key_F5);
    generate->setShortcutContext(Qt::WindowShortcut);
    connect(generate, &QAction::triggered, this, &TMainF::generateScript);
    addAction(generate);
}

void TMainF::showTreeMenu(const QPoint& position)
{
    QMenu menu(TreeView1);
    menu.addAction(QStringLiteral("&Expand all"), this, &TMainF::Fullexpand1Click);
    menu.addAction(QStringLiteral("&Collapse all"), this, &TMainF::Minimize1Click);
    menu.exec(TreeView1->viewport()->mapToGlobal(position));
}

QWidget* TMainF::buildTreeSide()
{
    auto* side = new QWidget;
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(4, 4, 4, 4);

    m_treeModel = new SchemaTreeModel(this);
    m_treeModel->setCatalogue(&m_workspace->catalogue());
    // The tree marks masked columns: it follows the choices as they change.
    connect(m_workspace, &Workspace::methodChanged, m_treeModel, &SchemaTreeModel::choiceChanged);
    connect(m_workspace, &Workspace::choicesReplaced, m_treeModel, &SchemaTreeModel::choicesChanged);
    m_treeModel->setFindings(m_findings);
    connect(m_findings, &discovery::WorkspaceFindings::findingsChanged, m_treeModel,
            &SchemaTreeModel::choicesChanged);

    TreeFilter = new QLineEdit(side);
    TreeFilter->setObjectName(QStringLiteral("TreeFilter"));
    TreeFilter->setPlaceholderText(QStringLiteral("Filter tables and columns"));
    TreeFilter->setClearButtonEnabled(true);
    connect(TreeFilter, &QLineEdit::textChanged, this, &TMainF::filterTree);

    TreeView1 = new QTreeView(side);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setModel(m_treeModel);
    TreeView1->setHeaderHidden(true);
    TreeView1->setUniformRowHeights(true); // row heights need not be measured one by one
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setItemDelegate(new SchemaTreeDelegate(TreeView1));
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeView1, &QWidget::customContextMenuRequested, this, &TMainF::showTreeMenu);
    // The operator works on the pages with the tree unfocused and must still see
    // which column is being edited.
    QPalette palette = TreeView1->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    TreeView1->setPalette(palette);
    connect(TreeView1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { TreeView1Change(current); });
    connect(TreeView1, &QTreeView::clicked, this, &TMainF::TreeView1Click);
    connect(TreeView1->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (m_discovery)
            m_discovery->setSampleTables(selectedTables());
    });

    auto* caption = new QLabel(QStringLiteral("Column parameters"), side);
    caption->setObjectName(QStringLiteral("Label1"));

    VList = new QTableWidget(0, 2, side);
    VList->setObjectName(QStringLiteral("VList"));
    VList->horizontalHeader()->hide();
    VList->verticalHeader()->hide();
    VList->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    VList->horizontalHeader()->setStretchLastSection(true);
    VList->setColumnWidth(
        0, VList->fontMetrics().horizontalAdvance(QStringLiteral("PK Constraint_Name")) + 16);
    VList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    VList->setSelectionMode(QAbstractItemView::NoSelection);
    // Room for the eight rows of a foreign-key column without a scroll bar.
    const int rowHeight = VList->fontMetrics().height() + 6;
    VList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    VList->verticalHeader()->setDefaultSectionSize(rowHeight);
    VList->setFixedHeight(8 * rowHeight + 2 * VList->frameWidth());

    layout->addWidget(TreeFilter);
    layout->addWidget(TreeView1, 1);
    layout->addWidget(caption);
    layout->addWidget(VList);
    return side;
}

QWidget* TMainF::addPage(const QString& pageName, const QString& caption, const QString& panelName,
                         QWidget** page)
{
    *page = new QWidget;
    (*page)->setObjectName(pageName);
    auto* pageLayout = new QVBoxLayout(*page);
    pageLayout->setContentsMargins(0, 0, 0, 0);

    auto* panel = new QFrame(*page);
    panel->setObjectName(panelName);
    auto* stack = new QStackedLayout(panel);
    stack->setContentsMargins(0, 0, 0, 0);
    auto* wait = new QLabel(QStringLiteral("please wait..."), panel);
    wait->setAlignment(Qt::AlignCenter);
    stack->addWidget(wait);
    pageLayout->addWidget(panel);

    MyPageControl1->addTab(*page, caption);
    return panel;
}

QWidget* TMainF::buildPages()
{
    MyPageControl1 = new QTabWidget;
    MyPageControl1->setObjectName(QStringLiteral("MyPageControl1"));
    PaList = addPage(QStringLiteral("TsList"), QStringLiteral("List of anonymized columns"),
                     QStringLiteral("PaList"), &TsList);
    PaSelect = addPage(QStringLiteral("TsSelect"), QStringLiteral("Select from current table"),
                       QStringLiteral("PaSelect"), &TsSelect);
    PanScrambling = addPage(QStringLiteral("TsAnonymization"), QStringLiteral("Anonymisation"),
                            QStringLiteral("PanScrambling"), &TsAnonymization);
    PaSQL =
        addPage(QStringLiteral("TsSQL"), QStringLiteral("SQL"), QStringLiteral("PaSQL"), &TsSQL);
    PaRunSQL = addPage(QStringLiteral("TsRunSQL"), QStringLiteral("Run SQL"),
                       QStringLiteral("PaRunSQL"), &TsRunSQL);
    MyPageControl1->setEnabled(false);
    connect(MyPageControl1, &QTabWidget::currentChanged, this, &TMainF::MyPageControl1Change);
    return MyPageControl1;
}

void TMainF::embed(QWidget* panel, QWidget* form)
{
    form->setWindowFlags(Qt::Widget);
    auto* stack = static_cast<QStackedLayout*>(panel->layout());
    stack->addWidget(form);
    stack->setCurrentWidget(form);
}

int TMainF::runDialog(QDialog& dialog)
{
    return m_runDialog(dialog);
}

int TMainF::selectedNode() const
{
    return SchemaTreeModel::absoluteIndex(TreeView1->currentIndex());
}

bool TMainF::selectedIsColumn() const
{
    return m_treeModel->level(TreeView1->currentIndex()) == SchemaTree::ColumnLevel;
}

QStringList TMainF::selectedTables() const
{
    const QModelIndex node = TreeView1->currentIndex();
    const int level = m_treeModel->level(node);
    if (level == SchemaTree::ColumnLevel)
        return {node.parent().data().toString()};
    if (level == SchemaTree::TableLevel)
        return {node.data().toString()};
    // Not every table of the database at once: the operator picks findings.
    return {};
}

void TMainF::FormCreate()
{
    {
        const QSignalBlocker quiet(MyPageControl1);
        MyPageControl1->setCurrentWidget(TsList);
    }
    MyPageControl1Change();
    Button1Click();
    m_workspace->setSeed(DefaultSeed);
}

void TMainF::Button1Click()
{
    // A second click while the catalogue is read is refused, not queued.
    // The tree and the choices stay as they are until a new catalogue has
    // been read: a cancelled or failed login changes nothing.
    if (isBusy())
        return;

    QString connectionString;
    {
        TLoginF dialog(m_workspace->connector(), this);
        dialog.SetResultTarget(&connectionString);
        const settings::LoginFields last = settings::lastLogin(m_settings);
        dialog.setFields(last.server, last.database, last.login);
        runDialog(dialog);
        if (!connectionString.isEmpty())
            settings::rememberLogin(m_settings,
                                    {dialog.EdServerName->text(), dialog.EdDatabaseName->text(),
                                     dialog.EdLogin->text()});
    }
    if (connectionString.isEmpty())
        return;

    // Reading the schema waits on the server: on a worker, so that the
    // window keeps painting and answering while it does.
    m_loading = true;
    updateLocks();
    auto result = std::make_shared<Result<LoadedDatabase>>(Error::failure(QString()));
    auto facts = std::make_shared<check::Facts>();
    QThread* worker = QThread::create(
        [result, facts, connect = m_workspace->connector(), connectionString] {
            *result = LoadDatabase(connect, connectionString,
                                   [&facts](db::Connection& c) { *facts = check::ReadFacts(c); });
        });
    connect(worker, &QThread::finished, this, [this, worker, result, facts] {
        worker->deleteLater();
        loadFinished(*result, std::move(*facts));
    });
    worker->start();
}

void TMainF::loadFinished(const Result<LoadedDatabase>& loaded, check::Facts facts)
{
    m_loading = false;
    updateLocks();
    if (!loaded) {
        ui::showError(this, loaded.error());
        return;
    }
    LoadedDatabase fresh = loaded.value();
    // The columns that the new database shares by name keep their choices.
    const CarriedChoices carried = CarryChoices(m_workspace->catalogue(), fresh.catalogue);
    if (carried.lost > 0) {
        const db::ConnectionTarget target = db::TargetOf(fresh.connectionString);
        const QString question =
            lostChoices(carried.lost,
                        fresh.tree.isEmpty() ? target.database : fresh.tree.nodes.first().text,
                        target.server.trimmed()) +
            QStringLiteral("\n\nLog in to it all the same?");
        if (!mayDiscardChoices(question))
            return;
    }
    // The facts go with the catalogue they were read with, and only with it.
    m_check->setNextFacts(std::move(facts));
    m_workspace->replace(std::move(fresh), carried);
    MyPageControl1->setEnabled(true);
}

void TMainF::catalogueReplaced()
{
    // The node the operator was on, found again by its names in the new tree.
    const SchemaTree& old = m_treeModel->tree();
    const int was = selectedNode();
    QString table;
    QString column;
    if (was > 0 && was < old.nodes.size()) {
        const SchemaTree::Node& node = old.nodes.at(was);
        const bool isColumn = node.level == SchemaTree::ColumnLevel;
        table = isColumn ? old.nodes.at(node.parent).text : node.text;
        if (isColumn)
            column = node.text;
    }

    m_treeModel->setTree(m_workspace->tree());
    const QModelIndex database = m_treeModel->indexOf(0);
    TreeView1->expand(database);
    const int again = table.isEmpty()
                          ? 0
                          : nodeNamed(m_workspace->catalogue(), m_workspace->tree(), table, column);
    const QModelIndex shown = m_treeModel->indexOf(again);
    TreeView1->setCurrentIndex(shown.isValid() ? shown : database);
    TreeView1->scrollTo(TreeView1->currentIndex());
    // The editor's slot may hold another column now, whichever page is in front.
    if (m_anonymization) {
        m_anonymization->ShowColumn(selectedNode());
        if (QTabWidget* sheets = m_anonymization->PageControl1())
            sheets->setVisible(selectedIsColumn());
    }
    updateTitle();
}

void TMainF::updateTitle()
{
    QString title = QStringLiteral("Corvane");
    if (!m_workspace->connectionString().isEmpty()) {
        title += QStringLiteral(" \u2014 ") + m_workspace->databaseName() + QStringLiteral(" on ") +
                 m_workspace->serverName();
        if (!m_workspace->projectFile().isEmpty())
            title += QStringLiteral(" \u2014 ") + QFileInfo(m_workspace->projectFile()).fileName();
        // Qt shows the mark in place of [*] while the window is modified.
        title += QStringLiteral("[*]");
    }
    if (!m_serverNotice.isEmpty())
        title += QStringLiteral(" - ") + m_serverNotice;
    setWindowTitle(title);
    setWindowModified(m_workspace->isModified());
}

void TMainF::setServerNotice(const QString& notice)
{
    m_serverNotice = notice;
    updateTitle();
    if (m_runSql)
        m_runSql->SetNotice(notice);
}

bool TMainF::mayDiscardChoices(const QString& question)
{
    if (!m_workspace->isModified())
        return true;
    return ui::dialogs().confirm(this, UnsavedChoices + QStringLiteral("\n\n") + question,
                                 DiscardCaption);
}

void TMainF::closeEvent(QCloseEvent* event)
{
    if (!mayDiscardChoices(QStringLiteral("Close Corvane and discard them?"))) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TMainF::setRunning(bool running)
{
    m_running = running;
    updateLocks();
}

void TMainF::updateLocks()
{
    const bool busy = isBusy();
    for (QAction* action : std::as_const(m_catalogueActions))
        action->setEnabled(!busy);
    // The editor would change the catalogue under the run.
    PanScrambling->setEnabled(!busy);
    if (m_loading)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void TMainF::TreeView1Change(const QModelIndex& node)
{
    const int level = m_treeModel->level(node);
    if (level < 0) {
        VList->setRowCount(0);
        m_workspace->setCurrentTable(QString());
        if (m_select)
            m_select->ShowTableName();
        return;
    }
    const int absolute = SchemaTreeModel::absoluteIndex(node);
    const QVector<SchemaTree::Node>& nodes = m_treeModel->tree().nodes;

    if (m_anonymization && MyPageControl1->currentWidget() == TsAnonymization) {
        m_anonymization->ShowColumn(absolute);
        if (QTabWidget* sheets = m_anonymization->PageControl1())
            sheets->setVisible(level == SchemaTree::ColumnLevel);
    }

    if (level == SchemaTree::ColumnLevel)
        m_workspace->setCurrentTable(nodes.at(nodes.at(absolute).parent).text);
    else if (level == SchemaTree::TableLevel)
        m_workspace->setCurrentTable(nodes.at(absolute).text);
    else
        m_workspace->setCurrentTable(QString());
    // The preview's label names the table that "Select table" would show.
    if (m_select)
        m_select->ShowTableName();

    VList->setRowCount(0);
    if (level == SchemaTree::ColumnLevel)
        fillVList(absolute);
}

void TMainF::fillVList(int slot)
{
    const TData& catalogue = m_workspace->catalogue();
    if (slot < 0 || slot >= catalogue.size())
        return;
    const TColumnRec& rec = catalogue.at(slot);

    QList<std::pair<QString, QString>> rows;
    if (!rec.PK.isEmpty())
        rows.append({QStringLiteral("Primary key"), QString()});
    rows.append({QStringLiteral("Type"), rec.typ});
    if (!rec.char_max.isEmpty())
        rows.append({QStringLiteral("Max length"), rec.char_max});
    rows.append({QStringLiteral("IsNull"), rec.isnull});
    if (!rec.PK_table.isEmpty()) {
        rows.append({QStringLiteral("Foreign key"), QString()});
        rows.append({QStringLiteral("PK table"), rec.PK_table});
        rows.append({QStringLiteral("PK column"), rec.PK_column});
        rows.append({QStringLiteral("PK Constraint_Name"), rec.Constraint_Name});
    }

    VList->setRowCount(rows.size());
    const QBrush keyBackground = VList->palette().brush(QPalette::Button);
    for (int r = 0; r < rows.size(); ++r) {
        QTableWidgetItem* key = readOnlyItem(rows.at(r).first);
        key->setBackground(keyBackground);
        VList->setItem(r, 0, key);
        VList->setItem(r, 1, readOnlyItem(rows.at(r).second));
    }
}

void TMainF::TreeView1Click()
{
    const int node = selectedNode();
    if (m_anonymization && node >= 0)
        m_anonymization->ShowColumn(node);
}

void TMainF::MyPageControl1Change()
{
    QWidget* active = MyPageControl1->currentWidget();

    if (!m_anonymization && active == TsAnonymization) {
        m_anonymization = new TAnonymizationF(PanScrambling);
        embed(PanScrambling, m_anonymization);
        m_anonymization->SetData(*m_workspace);
        m_anonymization->SetCheck(*m_check);
        if (const int node = selectedNode(); node >= 0)
            m_anonymization->ShowColumn(node);
        if (QTabWidget* sheets = m_anonymization->PageControl1())
            sheets->setVisible(selectedIsColumn());
        m_anonymization->show();
    }
    if (!m_sql && active == TsSQL) {
        m_sql = new TSQLF(PaSQL);
        embed(PaSQL, m_sql);
        m_sql->SetSource(*m_workspace);
        m_sql->SetCheck(*m_check);
        m_sql->SetSaveFolder(
            [this] { return settings::lastFolder(m_settings, settings::ScriptFolder); },
            [this](const QString& file) {
                settings::rememberFolder(m_settings, settings::ScriptFolder, file);
            });
        m_sql->show();
    }
    if (!m_runSql && active == TsRunSQL) {
        m_runSql = new TRunSQLF(PaRunSQL);
        embed(PaRunSQL, m_runSql);
        m_runSql->SetSource(*m_workspace);
        m_runSql->SetNotice(m_serverNotice);
        m_runSql->SetCheck(*m_check);
        connect(m_runSql, &TRunSQLF::runningChanged, this, &TMainF::setRunning);
        m_runSql->show();
    }
    if (!m_list && active == TsList) {
        m_list = new TListF(PaList);
        embed(PaList, m_list);
        // The list follows the workspace: it is current whenever it is shown.
        m_list->SetCatalogue(*m_workspace);
        m_list->SetCheck(*m_check);
        m_list->ShowCoverage(*m_findings);
        connect(m_list, &TListF::columnActivated, this, [this](int slot) {
            if (!m_treeModel->indexOf(slot).isValid())
                TreeFilter->clear();
            TreeView1->setCurrentIndex(m_treeModel->indexOf(slot));
            MyPageControl1->setCurrentWidget(TsAnonymization);
        });
        m_list->show();
    }
    if (!m_select && active == TsSelect) {
        m_select = new TSelectF(PaSelect);
        embed(PaSelect, m_select);
        m_select->SetTableSource(*m_workspace);
        m_select->show();
    }
}

void TMainF::Saveproject1Click()
{
    const QString name =
        ui::dialogs().saveFileName(this, {QStringLiteral("Save your project"),
                                          settings::lastFolder(m_settings, settings::ProjectFolder),
                                          ProjectFilter, QStringLiteral("crv")});
    if (name.isEmpty())
        return;
    settings::rememberFolder(m_settings, settings::ProjectFolder, name);
    if (ui::succeeded(this, TLoadSave().SaveProject(name, m_workspace->catalogue())))
        m_workspace->markSaved(name);
}

void TMainF::Loadproject1Click()
{
    if (isBusy() || !mayDiscardChoices(QStringLiteral("Load a project and discard them?")))
        return;
    const QString name =
        ui::dialogs().openFileName(this, {QStringLiteral("Load your project"),
                                          settings::lastFolder(m_settings, settings::ProjectFolder),
                                          ProjectFilter, QString()});
    if (name.isEmpty() || isBusy())
        return;
    settings::rememberFolder(m_settings, settings::ProjectFolder, name);
    // Slots read before a line that stops the load stay loaded, as they were.
    TData choices = m_workspace->catalogue();
    const Status loaded = TLoadSave().LoadProject(name, choices);
    m_workspace->replaceChoices(choices);
    if (ui::succeeded(this, loaded))
        m_workspace->markSaved(name);
}

void TMainF::Setseed1Click()
{
    if (isBusy())
        return;
    std::int32_t seed = m_workspace->seed();
    TSetSeedF dialog(this);
    dialog.Open(seed);
    runDialog(dialog);
    m_workspace->setSeed(seed);
}

void TMainF::Insert1Click()
{
    TVirtualDataF dialog(this);
    dialog.SetFileName(QString());
    runDialog(dialog);
}

void TMainF::Edit1Click()
{
    const QString name = ui::dialogs().openFileName(
        this, {QStringLiteral("Load your virtual data file"), VirtualDataFolder(),
               QStringLiteral("Text file | *.txt"), QString()});
    if (name.isEmpty())
        return;
    TVirtualDataF dialog(this);
    dialog.SetFileName(name);
    runDialog(dialog);
}

void TMainF::Close1Click()
{
    close();
}

void TMainF::About1Click()
{
    ui::dialogs().information(this, AboutText);
}

void TMainF::filterTree(const QString& text)
{
    const int selected = selectedNode();
    m_treeModel->setFilterText(text);
    if (text.isEmpty())
        TreeView1->expand(m_treeModel->indexOf(0));
    else
        TreeView1->expandAll(); // every match in sight
    const QModelIndex again = m_treeModel->indexOf(selected);
    if (again.isValid()) {
        TreeView1->setCurrentIndex(again);
        TreeView1->scrollTo(again);
    } else {
        // A reset drops the current node without telling: the facts and the
        // table go with it.
        TreeView1Change(QModelIndex());
    }
}

void TMainF::generateScript()
{
    if (!MyPageControl1->isEnabled())
        return;
    MyPageControl1->setCurrentWidget(TsSQL);
    if (m_sql)
        m_sql->SQLGenerator();
}

void TMainF::Fullexpand1Click()
{
    TreeView1->expandAll();
}

void TMainF::Minimize1Click()
{
    TreeView1->collapseAll();
}

void TMainF::Discovery1Click()
{
    if (isBusy())
        return;
    // One window, kept while the program runs, so that its sampling goes on
    // while it is hidden and it opens again as it was left.
    if (!m_discovery) {
        m_discovery = new ui::DiscoveryDialog(*m_workspace, *m_findings, this);
        m_discovery->setObjectName(QStringLiteral("DiscoveryF"));
    }
    m_discovery->setSampleTables(selectedTables());
    m_discovery->show();
    m_discovery->raise();
    m_discovery->activateWindow();
}

} // namespace corvane
