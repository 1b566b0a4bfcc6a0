#include "preview/Preview.h"

#include "document/AppInfo.h"
#include "preview/PreviewFolder.h"
#include "preview/frmQuickView.h"

#include <QPointer>

namespace vi {

namespace {
QPointer<frmQuickView>& QuickView()
{
    static QPointer<frmQuickView> window;
    return window;
}
} // namespace

void ViewTreeCommand(TreeDocument& document, UserInterface& ui)
{
    const QString folder = PreparePreviewFolder(TmpTreePath(), FallbackPreviewPath());
    SetPreviewFolder(folder);

    QPointer<frmQuickView>& window = QuickView();
    if (!window || window->Closed())
        window = new frmQuickView(document, ui);
    window->Bind(document, ui);

    ExportPreview(document, folder, window->StaticSelected(), ui);
    if (!window->isVisible())
        window->show();
    window->RefreshTree();
}

void ClosePreviewWindow() { delete QuickView().data(); }

frmQuickView* PreviewWindow()
{
    frmQuickView* window = QuickView().data();
    return window && !window->Closed() ? window : nullptr;
}

} // namespace vi
