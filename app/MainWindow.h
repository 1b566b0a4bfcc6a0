#pragma once
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeView;

namespace vi {

class DocumentPlace;
class EditHistory;
class FindBarModel;
class TreeDocument;
class TreeModel;
class UserInterface;

// The editor's main window: the tree view, the command buttons and menus,
// the find bar, the status bar and the close sequence.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 638;
    static constexpr int kClientHeight = 382;

    MainWindow(TreeDocument& document, UserInterface& ui, QWidget* parent = nullptr);
    ~MainWindow() override;

    QTreeView* TreeView() const { return treeView_; }
    TreeModel* Model() const { return model_; }
    EditHistory& History() const { return *history_; }
    DocumentPlace& Place() const { return *place_; }
    // The menu of the item under the mouse.
    QMenu* ItemMenu() const { return itemMenu_; }

    // Whether closing ends the whole program (off in tests).
    void SetQuitOnUnload(bool quit) { quitOnUnload_ = quit; }

    // Size, place and maximised state, kept in the user's settings between runs.
    void SaveWindowPlacement() const;
    // False when none was kept: the window then keeps its first size.
    bool RestoreWindowPlacement();

    void OpenRecentFile(const QString& file);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void BuildButtons(QWidget* client);
    void BuildMenus();
    void BuildFindBar(QWidget* client);
    void BuildStatusBar();
    void UpdateEditMenu();
    void UpdateRecentMenu();
    void ConnectView();
    void ShowDocumentSelection();
    void Arrange();
    void ShowFindBar();
    void CloseFindBar();
    void Find(bool forward);
    void ExpandAll();
    void CollapseAll();
    void RefreshSoon();
    void Refresh();
    void ShowExport();
    void AddSystemMenuAbout();
    void ShowAbout();
    void Unload();

    TreeDocument& document_;
    UserInterface& ui_;
    std::unique_ptr<EditHistory> history_;
    std::unique_ptr<DocumentPlace> place_;
    std::unique_ptr<FindBarModel> find_;
    TreeModel* model_ = nullptr;
    QWidget* client_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QMenu* itemMenu_ = nullptr;
    QTreeView* treeView_ = nullptr;
    QWidget* findBar_ = nullptr;
    QLineEdit* findText_ = nullptr;
    QLabel* findCounter_ = nullptr;
    QLabel* placeLabel_ = nullptr;
    QLabel* countLabel_ = nullptr;
    bool refreshPending_ = false;
    bool quitOnUnload_ = true;
    bool unloaded_ = false;
};

} // namespace vi
