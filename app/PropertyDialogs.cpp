#include "app/PropertyDialogs.h"

#include "app/ItemPropDialog.h"
#include "app/TreePropDialog.h"
#include "document/ItemRecord.h"
#include "document/TreeSettings.h"

namespace vi {

bool RunItemPropDialog(QWidget* parent, ItemRecord& record, const TreeSettings& settings)
{
    ItemPropDialog dialog(settings, parent);
    dialog.Model().Load(record);
    dialog.exec();
    if (dialog.Model().Tag() != DialogTag::Ok)
        return false;
    dialog.Model().Store(record);
    return true;
}

bool RunTreePropDialog(QWidget* parent, TreeSettings& settings)
{
    TreePropDialog dialog(parent);
    dialog.Model().Load(settings);
    dialog.exec();
    if (dialog.Model().Tag() != DialogTag::Ok)
        return false;
    dialog.Model().Store(settings);
    return true;
}

} // namespace vi
