<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>EditHistory</name>
    <message>
        <source>New Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tree Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Tree</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load Tree</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExportTree</name>
    <message>
        <source>There was an error trying to export to the directory: %1<byte value="xd"/>Reason: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not everything could be exported to the directory: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These could not be written or copied:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>... and %1 more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another export into this folder is still running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The item &quot;%1&quot; has no record.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The tree is too large: its custom.js would be larger than %1 MB, more than the editor can load back.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FolderChooserModel</name>
    <message>
        <source>Export to Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must type a folder name without \ or /.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is already a folder of that name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to create the folder.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ItemCommands</name>
    <message>
        <source>Please select an item in the tree to create a new item under.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You can not create items under a Leaf item.  You must set the item to Branch first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select an item in the tree to delete.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You can not delete the root item.  You must create your tree off of it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must delete the items contained in this branch before you can delete it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no properties for this item.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ItemPropModel</name>
    <message>
        <source>You must specify the SRC for the &apos;Non-Expanded Bullet&apos;.  Click the folder to locate one on your system, or you can unclick the check box next to it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must specify the SRC for the &apos;Expanded Bullet&apos;.  Click the folder to locate one on your system, or you can unclick the check box next to it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must specify the SRC for the &apos;Mouse Out Menu Item&apos;.  Click the folder to locate one on your system, or you can unclick the check box next to it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must specify the SRC for the &apos;Mouse Over Menu Item&apos;.  Click the folder to locate one on your system, or you can unclick the check box next to it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must specify the HREF for the &apos;Link&apos;.  Or you can unclick the check box next to it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must specify the TARGET for the &apos;Link&apos;.  Or you can unclick the check box next to it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must specify the Description for the &apos;Link&apos;.  Or you can unclick the check box next to it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You need to specify a Friendly Name.  This name is only for display in the Vuvov-Ivoza program and is not used in the actual tree.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Friendly Name can not contain &quot;[+]&quot; or a line break, because the saved tree uses them to separate its values.  Please change the Friendly Name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Properties</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LabelEdit</name>
    <message>
        <source>You have to specify a friendly name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A friendly name can not contain &quot;[+]&quot;.  Please choose another name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A friendly name can not contain a line break.  Please choose another name.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PastedItems</name>
    <message>
        <source>These items would make the tree too large: its custom.js would be larger than %1 MB, more than the editor can load back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n picture(s) of the pasted items were left out: items from another editor or program keep only pictures that lie in a treePics folder.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PicturePicker</name>
    <message>
        <source>All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GIF Format (*.GIF)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG Format (*.JPG)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a Picture File..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Images (*.GIF *.JPG *.JPEG *.PNG *.SVG *.WEBP *.ICO)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Preview</name>
    <message>
        <source>The preview could not be made.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reason: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThirdPartyNotices</name>
    <message>
        <source>&lt;p&gt;This program uses the following libraries, under the GNU Lesser General Public License version 3 (LGPL-3.0), whose full text, with the GNU General Public License version 3 it refers to, follows below.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Qt %1 (built with Qt %2), Copyright (C) The Qt Company Ltd. and other contributors.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Qt WebEngine %1, based on Chromium %2, Copyright (C) The Qt Company Ltd. and the Chromium authors; Chromium and the components it includes are under their own permissive licences (BSD-style and others), whose notices are delivered with Qt WebEngine.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;Qt is a trademark of The Qt Company Ltd. The source code of Qt and Qt WebEngine is available from &lt;a href=&quot;https://download.qt.io/&quot;&gt;https://download.qt.io/&lt;/a&gt;, and you may replace the Qt libraries the program uses with a modified version of them.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TreeCommands</name>
    <message>
        <source>Do you want to Export any unsaved changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No tree to export.  Please create or load one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load Custom JavaScript Tree..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom Tree File (*.js)|*.js</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These pictures of the tree could not be found:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>... and %1 more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has changed since it was loaded or last exported here, perhaps by another editor.<byte value="xd"/>Replace it with this tree?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TreeDocument</name>
    <message>
        <source>The tree can not hold more than 32766 items.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TreeLoader</name>
    <message>
        <source>This file was not created by %1.  Unable to load.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This file was not created by your current %1 software version.<byte value="xd"/>This file may not load correctly.<byte value="xd"/><byte value="xd"/>Continue to load tree?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is larger than %1 MB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to open the file: %1<byte value="xd"/>Reason: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) of this file could not be placed in the tree and were left out: each names a parent item that does not come before it in the file.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Only regular files can be loaded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This file is not a menu made by %1.  Unable to load.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TreePropModel</name>
    <message>
        <source>You must enter a number value for the Top left X, and Top left Y position.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The global values can not contain a line break, because the saved tree keeps each one on a line of its own.  Please remove the line break.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tree Properties</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WebAddress</name>
    <message>
        <source>Could not find your default internet browser!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vi::FolderDialog</name>
    <message>
        <source>Select a Drive:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a Folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder name:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vi::ItemPropDialog</name>
    <message>
        <source>Use Global</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Branch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leaf</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Friendly Label:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(Not used in actual tree)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Bullet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regular Bullet Icon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Expanded Bullet Icon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menu Item Pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mouse Out Menu Item Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mouse Over Menu Item Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(Can include some HTML tags)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable Size and Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font Size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font Color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HREF:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link Target</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TARGET:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vi::MainWindow</name>
    <message>
        <source>New &amp;Tree</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Load Custom File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export Tree</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View Tree</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tree P&amp;roperties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item &amp;Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do&amp;wn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New Tree</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Load Tree</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tree</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Do&amp;wn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent &amp;Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export &amp;To...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find Pre&amp;vious</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xpand All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;ollapse All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No recent files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be found.<byte value="xd"/>It has been removed from Recent Files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1[*] (%2) - %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exported 1 item to %1 at %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exported %1 items to %2 at %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vi::ThirdPartyNotices</name>
    <message>
        <source>Third-Party Notices</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About &amp;Qt</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vi::TreePropDialog</name>
    <message>
        <source>Tree Dimensions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Top Left X Pixel Position:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Top Left Y Pixel Position:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Height of each item:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Treelines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Treelines.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plus, Minus, and Treelines.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only Plus and Minus.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Treeline color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plus and Minus color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global Branch Non-Expanded Bullet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global Branch Expanded Bullet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global Leaf Bullet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global Link Target</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TARGET:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global Background Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BGCOLOR:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global Font Size and Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font Size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font Color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vi::frmAbout</name>
    <message>
        <source>About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Notices...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vi::frmQuickView</name>
    <message>
        <source>Actual Tree View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Static</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
