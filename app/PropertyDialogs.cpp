#include "app/PropertyDialogs.h"

#include "app/ItemPropDialog.h"
#include "app/TreePropDialog.h"
#include "document/ItemRecord.h"
#include "document/TreeSettings.h"

namespace vi {

bool RunItemPropDialog(QWidget* parent, ItemRecord& record, const TreeSettings& settings)
{
    ItemPropDialog dialog(settings, parent);
    dialog.Model().ExchangeItemRecord(record, true);
    dialog.exec();
    if (dialog.Model().Tag() != DialogTag::Ok)
        return false;
    dialog.Model().ExchangeItemRecord(record, false);
    return true;
}

bool RunTreePropDialog(QWidget* parent, TreeSettings& settings)
{
    TreePropDialog dialog(parent);
    dialog.Model().ExchangeTreeSettings(settings, true);
    dialog.exec();
    if (dialog.Model().Tag() != DialogTag::Ok)
        return false;
    dialog.Model().ExchangeTreeSettings(settings, false);
    return true;
}

} // namespace vi
