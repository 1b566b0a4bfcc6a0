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
//# TreeBNonExpanded = closed.gif
//# TreeBExpanded = 
//# TreeLeaf = leaf.gif
//# TreeTarget = main
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
menuBase.menuItems[0]= new menuItemObject("treePics/closed.gif","","treePics/out.gif","treePics/over.gif","<b>Start</b> \x22quoted\x22 \x5C path","+1","Red","http:/\x2F[+]x.html","_top","café 中文"); //[+]BRANCH[+]Start[+]0[+]True[+]True[+]False[+]False
menuBase.menuItems[0].subMenu[0]= new menuItemObject("","","","","line\x0D\x0Abreak","2","Black","a.html","main",""); //[+]BRANCH[+]Child[+]1[+]False[+]False[+]True[+]True
menuBase.menuItems[0].subMenu[0].subMenu[0]= new menuItemObject("","","","","Deep","3","Navy","b.html","main","d"); //[+]LEAF[+]Deep[+]2[+]False[+]False[+]False[+]False
menuBase.menuItems[0].subMenu[1]= new menuItemObject("","","","","Second","2","Black","","",""); //[+]LEAF[+]Second[+]1[+]False[+]False[+]False[+]True
menuBase.menuItems[1]= new menuItemObject("","","","","Top","","","","",""); //[+]LEAF[+]Top[+]0[+]False[+]False[+]False[+]False
