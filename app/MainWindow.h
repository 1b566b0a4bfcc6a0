#pragma once
#include "commands/DocumentFile.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class QAction;
class QPushButton;
class QTreeView;

namespace vi {

class EditHistory;
class TreeDocument;
class TreeModel;
class UserInterface;

// The editor's main window: the tree view, the command buttons and menus,
// and the close sequence.
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
    // The folder the document belongs to and what the editor last loaded or exported there.
    DocumentFile& File() { return file_; }

    // Whether closing ends the whole program (off in tests).
    void SetQuitOnUnload(bool quit) { quitOnUnload_ = quit; }

protected:
    void closeEvent(QCloseEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void BuildButtons(QWidget* client);
    void BuildMenus();
    void UpdateEditMenu();
    void ConnectView();
    void ShowDocumentSelection();
    void AddSystemMenuAbout();
    void ShowAbout();
    void Unload();

    TreeDocument& document_;
    UserInterface& ui_;
    std::unique_ptr<EditHistory> history_;
    DocumentFile file_;
    TreeModel* model_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QTreeView* treeView_ = nullptr;
    bool quitOnUnload_ = true;
    bool unloaded_ = false;
};

} // namespace vi
