// 'DO NOT WRITE TO OR ALTER THIS FILE
// 'Even if you edit the JavaScript your risking
// 'not being able to load it back into Vuvov-Ivoza
// '
// '
// '
// '
//# Generator = Vuvov-Ivoza
//# Version = 2.0.3
// '
// 'About: Vuvov-Ivoza by Vevadev, download free at https://www.vevadev.com/vuvov-ivoza
// 'Copyright (C) 2026 Vevadev. All rights reserved.
// '
// '
//# TreeX = 5
//# TreeY = 5
//# TreeSize = 1
//# TreeLines = 1
//# TreeLineColor = Black
//# TreePMColor = Black
//# TreeBNonExpanded = 
//# TreeBExpanded = 
//# TreeLeaf = 
//# TreeTarget = 
//# TreeBackground = 
//# TreeFontSize = 2
//# TreeFontColor = Black
//\\
var BrowserSwitch = false;
var BackGroundColor = "";
var pmPercent = 50;
var trans2x2=new Image();
trans2x2.src="treePics/2x2.gif";
var menuBase = new menuObject(5,5,20,true,"treePics/plus.gif","treePics/minus.gif","treePics/top.gif","treePics/mid.gif","treePics/btm.gif","treePics/hline.gif","treePics/vline.gif");
menuBase.menuItems[0]= new menuItemObject("treePics/folder.gif","treePics/open.gif","","","Products","2","Black","","",""); //[+]BRANCH[+]Products[+]0[+]False[+]False[+]False[+]True
menuBase.menuItems[0].subMenu[0]= new menuItemObject("","","","","Widgets","3","Navy","widgets.html","main","Our widgets"); //[+]LEAF[+]Widgets[+]1[+]False[+]False[+]False[+]False
