#pragma once

#include "catalogue/workspace.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QCloseEvent;
class QDialog;
class QLabel;
class QLineEdit;
class QSettings;
class QModelIndex;
class QTabWidget;
class QTableWidget;
class QTreeView;

namespace corvane {

namespace check {
class CheckState;
class Facts;
}
namespace discovery {
class WorkspaceFindings;
}
namespace ui {
class DiscoveryDialog;
}

class SchemaTreeModel;
class TAnonymizationF;
class TListF;
class TLoginF;
class TRunSQLF;
class TSelectF;
class TSQLF;

// The main window: the database tree, the column facts and the five pages.
class TMainF : public QMainWindow
{
    Q_OBJECT
public:
    // Runs a modal dialog and returns its result code.
    using DialogRunner = std::function<int(QDialog&)>;

    explicit TMainF(db::ConnectionFactory connect, QWidget* parent = nullptr);
    ~TMainF() override;

    Workspace& workspace() { return *m_workspace; }
    check::CheckState& checkState() { return *m_check; }
    // What discovery found in the workspace's catalogue: the tree marks, the
    // list page's coverage and the Discovery window show it.
    discovery::WorkspaceFindings& findings() { return *m_findings; }
    // True while the catalogue is read or a run goes on: the commands that
    // would change the catalogue are refused meanwhile.
    bool isBusy() const { return m_loading || m_running; }
    // Start-up: the list page, then the Login command, then the seed.
    void FormCreate();

    // Replaces QDialog::exec for the login, seed and word-list dialogs, so that
    // they can be answered without a nested event loop.
    void setDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }
    // Where the last login and folders are remembered; none by default. Not owned.
    void setSettings(QSettings* settings) { m_settings = settings; }
    // A word on the server that the title and each run's log carry (the demo
    // server's: nothing in it changes).
    void setServerNotice(const QString& notice);

    // Narrows the tree to the tables and columns whose names hold `text`;
    // the selected node stays selected while it is shown.
    void filterTree(const QString& text);
    // F5: the SQL page, with a fresh script.
    void generateScript();

    // Handlers.
    void Button1Click(); // the Login command
    void TreeView1Change(const QModelIndex& node);
    void TreeView1Click();
    void MyPageControl1Change();
    void Saveproject1Click();
    void Loadproject1Click();
    void Setseed1Click();
    void Insert1Click();
    void Edit1Click();
    void Close1Click();
    void About1Click();
    void Fullexpand1Click();
    void Minimize1Click();
    void Discovery1Click();

    // Controls, under their designer names.
    QTreeView* TreeView1 = nullptr;
    QLineEdit* TreeFilter = nullptr; // above the tree
    QTableWidget* VList = nullptr;
    QTabWidget* MyPageControl1 = nullptr;
    QWidget* TsList = nullptr;
    QWidget* TsSelect = nullptr;
    QWidget* TsAnonymization = nullptr;
    QWidget* TsSQL = nullptr;
    QWidget* TsRunSQL = nullptr;
    QWidget* PaList = nullptr;
    QWidget* PaSelect = nullptr;
    QWidget* PanScrambling = nullptr;
    QWidget* PaSQL = nullptr;
    QWidget* PaRunSQL = nullptr;

    SchemaTreeModel* treeModel() const { return m_treeModel; }
    // The page forms; null until their page is first shown.
    TListF* listPage() const { return m_list; }
    TSelectF* selectPage() const { return m_select; }
    TAnonymizationF* anonymizationPage() const { return m_anonymization; }
    TSQLF* sqlPage() const { return m_sql; }
    TRunSQLF* runSqlPage() const { return m_runSql; }
    // Null until the Discovery command is first given.
    ui::DiscoveryDialog* discoveryDialog() const { return m_discovery; }

protected:
    // Asks before unsaved choices are discarded.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void fitToScreen();
    void showTreeMenu(const QPoint& position);
    QWidget* buildTreeSide();
    QWidget* buildPages();
    QWidget* addPage(const QString& pageName, const QString& caption, const QString& panelName,
                     QWidget** page);
    void embed(QWidget* panel, QWidget* form);
    void catalogueReplaced();
    void updateTitle();
    // True when nothing unsaved would be lost, or the operator agrees to lose it.
    bool mayDiscardChoices(const QString& question);
    void loadFinished(const Result<LoadedDatabase>& loaded, check::Facts facts);
    void setRunning(bool running);
    void updateLocks();
    void fillVList(int slot);
    int runDialog(QDialog& dialog);
    // The absolute index of the selected node, -1 when none is.
    int selectedNode() const;
    bool selectedIsColumn() const;
    // The table of the selected table or column node; none for the database.
    QStringList selectedTables() const;

    // A child created before the pages, so that it outlives none of them
    // being used: the pages only read it while the window lives.
    Workspace* m_workspace;
    // The check of the workspace's choices, with the facts read at the login.
    check::CheckState* m_check;
    // Created right after the workspace, so that it has classified a new
    // catalogue before the tree shows it.
    discovery::WorkspaceFindings* m_findings;
    bool m_loading = false;
    bool m_running = false;
    QList<QAction*> m_catalogueActions; // refused while busy
    SchemaTreeModel* m_treeModel = nullptr;
    QLabel* m_strip = nullptr;
    DialogRunner m_runDialog;
    QSettings* m_settings = nullptr;
    QString m_serverNotice;

    TListF* m_list = nullptr;
    TSelectF* m_select = nullptr;
    TAnonymizationF* m_anonymization = nullptr;
    TSQLF* m_sql = nullptr;
    TRunSQLF* m_runSql = nullptr;
    ui::DiscoveryDialog* m_discovery = nullptr;
};

} // namespace corvane
