VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "mscomctl.ocx"
Object = "{F9043C88-F6F2-101A-A3C9-08002B2F49FB}#1.2#0"; "comdlg32.ocx"
Begin VB.MDIForm frmMDI 
   AutoShowChildren=   0   'False
   BackColor       =   &H8000000C&
   Caption         =   "MDIForm1"
   ClientHeight    =   8160
   ClientLeft      =   165
   ClientTop       =   735
   ClientWidth     =   11400
   Icon            =   "frmMDI.frx":0000
   LinkTopic       =   "MDIForm1"
   OLEDropMode     =   1  'Manual
   StartUpPosition =   3  'Windows Default
   Begin MSComctlLib.StatusBar stbar 
      Align           =   2  'Align Bottom
      Height          =   255
      Left            =   0
      TabIndex        =   5
      Top             =   7905
      Width           =   11400
      _ExtentX        =   20108
      _ExtentY        =   450
      _Version        =   393216
      BeginProperty Panels {8E3867A5-8586-11D1-B16A-00C0F0283628} 
         NumPanels       =   7
         BeginProperty Panel1 {8E3867AB-8586-11D1-B16A-00C0F0283628} 
            Alignment       =   1
            AutoSize        =   2
            Object.Width           =   1773
            MinWidth        =   1764
         EndProperty
         BeginProperty Panel2 {8E3867AB-8586-11D1-B16A-00C0F0283628} 
            Alignment       =   1
            AutoSize        =   2
            Object.Width           =   1773
            MinWidth        =   1764
         EndProperty
         BeginProperty Panel3 {8E3867AB-8586-11D1-B16A-00C0F0283628} 
            Alignment       =   1
            AutoSize        =   2
            Object.Width           =   1773
            MinWidth        =   1764
         EndProperty
         BeginProperty Panel4 {8E3867AB-8586-11D1-B16A-00C0F0283628} 
            Alignment       =   1
            AutoSize        =   2
            Object.Width           =   1773
            MinWidth        =   1764
         EndProperty
         BeginProperty Panel5 {8E3867AB-8586-11D1-B16A-00C0F0283628} 
            Style           =   1
            Alignment       =   1
            AutoSize        =   2
            Enabled         =   0   'False
            Object.Width           =   847
            MinWidth        =   441
            TextSave        =   "CAPS"
         EndProperty
         BeginProperty Panel6 {8E3867AB-8586-11D1-B16A-00C0F0283628} 
            Style           =   3
            Alignment       =   1
            AutoSize        =   2
            Enabled         =   0   'False
            Object.Width           =   609
            MinWidth        =   353
            TextSave        =   "INS"
         EndProperty
         BeginProperty Panel7 {8E3867AB-8586-11D1-B16A-00C0F0283628} 
         EndProperty
      EndProperty
      BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} 
         Name            =   "Tahoma"
         Size            =   8.25
         Charset         =   0
         Weight          =   400
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
   End
   Begin VB.PictureBox picTools 
      Align           =  ÿ1  'Align Top
      BorderStyle     =   0  'None
      Height          =   615
      Left            =   0
      ScaleHeight     =   615
      ScaleWidth      =   11400
      TabIndex        =   0
      Top             =   0
      Width           =   11400
      Begin VB.CommandButton Command1 
         Caption         =   "Check 44BBD"
         Height          =   375
         Left            =   5160
         TabIndex        =   8
         Top             =   120
         Visible         =   0   'False
         Width           =   2055
      End
      Begin VB.CommandButton cmdFinances 
         Height          =   540
         Left            =   720
         Picture         =   "frmMDI.frx":0442
         Style           =   1  'Graphical
         TabIndex        =   7
         Top             =   0
         Width           =   54:0
      End
      Begin VB.CommandButton cmdVeh 
         Height          =   540
         Left            =   3120
         Picture         =   "frmMDI.frx":0884
         Style           =   1  'Graphical
         TabIndex        =   6
         Top             =   0
         Width           =   540
      End
      Begin VB.CommandButton cmdStations 
         Height          =   540
         Left            =   2520
         Picture         =   "frmMDI.frx":1086
         Style           =   1  'Graphical
         TabIndex        =   4
         Top             =   0
         Width           =   540
      End
      Begin VB.CommandButton cmdPlayer 
         Height          =   540
         Left            =   120
         Picture         =   "frmMDI.frx":1B90
         Style           =   1  'Graphical
         TabIndex        =   3
         Top             =   0
         Width           =   540
      End
      Begin VB.CommandButton cmdIndu 
         Height          =   540
         Left            =   1920
         Picture         =   "frmMDI.frx":269A
         Style           =   1  'Graphical
         TabIndex        =   2
         Top             =   0
         Width           =   540
      End
      Begin VB.CommandButton cmdCity 
         Height          =   540
         Left            =   1320
         Picture         =   "frmMDI.frx":31A4
         Style           =   1  'Graphical
         TabIndex        =   1
         Top             =   0
         Width           =   555
      End
   End
   Begin MSComDlg.CommonDialog CommonDialog1 
      Left            =   120
      Top             =   720
      _ExtentX        =  ;m 847
      _ExtentY        =   847
      _Version        =   393216
      CancelError     =   -1  'True
      DialogTitle     =   "Save Game As"
      Filter          =   $"frmMDI.frx":3CAE
   End
   Begin VB.Menu mnFile 
      Caption         =   "&File"
      Begin VB.Menu mnFLoad 
         Caption         =   "&Load Game..."
         Shortcut        =   ^L
      End
      Begin VB.Menu mnFsave 
         Caption         =   "&Save Game"
         Shortcut        =   ^S
      End
      Begin VB.Menu mnFsaveAs 
         Caption         =   "Save Game &As..."
         Enabled         =   0   'False
         Visible         =   0   'False
      End
      Begin VB.Menu mnSep1 
         Caption         =   "-"
         Index           =   0
      End
      Begin VB.Menu mnFsaveU 
         Caption         =   "Save &Uncompressed"
      End
      Begin VB.Menu mnSep1a 
         Caption         =   "-"
      End
      Begin VB.Menu mnQuit 
         Caption         =   "E&xit"
      End
      Begin VB.Menu mnCleanQuit 
         Caption         =   "&Cleanout and Exit"
      End
   End
   Begin VB.Menu mnView 
      Caption         =   "&Options"
      Begin VB.Menu mnVtool 
         Caption         =   "&Toolbar"
         Checked         =   -1  'True
         Shortcut        =   ^T
      End
      Begin VB.Menu mnVTech 
         Caption         =   "Technical &Info"
         Shortcut        =   ^I
      End
      Begin VB.Menu mnVmap 
         Caption         =   "&Map"
         Begin VB.Menu mnVMnone 
            Caption         =   "&None"
            Shortcut        =   ^{F1}
         End
         Begin VB.Menu mnVMsmall 
            Caption         =   "&Small"
            Shortcut        =   ^{F2}
         End
         Begin VB.Menu mnVMlarge 
            Caption         =   "&Large"
            Shortcut        =   ^{F3}
         End
         Begin VB.Menu mnVMextr 
            Caption         =   "&Extreme"
            Shortcut        =   ^{F4}
         End
         Begin VB.Menu mnSep9 
            Caption         =   "-"
         End
      End
      Begin VB.Menu mnuOCurrency 
         Caption         =   "&Currency"
         Begin VB.Menu mnuOCCur 
            Caption         =   "Â£ - &Pounds"
            Index           =   0
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "$ - &Dollars"
            Index           =   1
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "Â¥ - &Yen"
            Index           =   2
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "Fr - &Francs"
            Index           =   3
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "DM - D&eutschmark"
            Index           =   4
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "Pt - Pe&setas"
            Index           =   5
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "â‚¬ - E&uro"
            Index           =   6
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "Ft - &Hungarian Forint"
            Index           =   7
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "zl - Polish &Zloty"
            Index           =   8
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "ATS - Aus&trian Shilling"
            Index           =   9
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "BEF - Bel&gian Franc"
            Index           =   10
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "DKK - Da&nish Krone"
            Index           =   11
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "FIM - Finnish Mar&kka"
            Index           =   12
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "GRD - &Greek Drachma"
            Index           =   13
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "CHF - S&wiss Franc"
            Index           =   14
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "NLG - Dutch Guilde&r"
            Index           =   15
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "ITL - Itali&an Lira"
            Index           =   16
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "SEK - Swed&ish Krona"
            Index           =   17
         End
         Begin VB.Menu mnuOCCur 
            Caption         =   "RUB - &Russian Rubel"
            Index           =   18
         End
      End
      Begin VB.Menu mnSep2 
         Caption         =   "-"
      End
      Begin VB.Menu mnOpFileAss 
         Caption         =   "File &Associations..."
      End
      Begin VB.Menu mnOsgm 
         Caption         =   "&SGM Plugin..."
      End
   End
   Begin VB.Menu mnPlayer 
      Caption         =   "&Players"
      Begin VB.Menu mnPedit 
         Caption         =   "&Edit"
         Shortcut        =   {F3}
      End
      Begin VB.Menu mnuPFinances 
         Caption         =   "&Finances"
      End
      Begin VB.Menu mnSep6 
         Caption         =   "-"
         Visible         =   0   'False
      End
   End
   Begin VB.Menu mnTerrain 
      Caption         =   "&Terrain"
      Begin VB.Menu mnTEremwood 
         Caption         =   "Remove &Trees"
      End
      Begin VB.Menu mnTownAIr 
         Caption         =   "Own AI &Roads"
      End
      Begin VB.Menu mnTownCbridge 
         Caption         =   "Own City &Bridges"
      End
   End
   Begin VB.Menu mnCity 
      Caption         =   "&Cities"
      Begin VB.Menu mnCedit 
         Caption         =   "&Edit"
         Shortcut        =   {F5}
      End
      Begin VB.Menu mnSep10 
         Caption         =   "-"
         Index           =   0
      End
      Begin VB.Menu mnCmaxrat 
         Caption         =   "Maximize &Ratings"
         Visible         =   ÿÿÿ'False
         Begin VB.Menu mnCmaxrate 
            Caption         =   "0"
            Index           =   0
         End
      End
   End
   Begin VB.Menu mnIndu 
      Caption         =   "&Industries"
      Begin VB.Menu mnIedit 
         Caption         =   "&Edit"
         Shortcut        =   {F6}
      End
      Begin VB.Menu mnSep11 
         Caption         =   "-"
         Index           =   0
      End
      Begin VB.Menu mnImaxPro 
         Caption         =   "M&aximize Production"
         Begin VB.Menu mnMaxProAll 
            Caption         =   "All"
         End
         Begin VB.Menu mnSep4 
            Caption         =   "-"
         End
         Begin VB.Menu mnMaxPro 
            Caption         =   "0"
            Index           =   0
         End
      End
      Begin VB.Menu mnIminPro 
         Caption         =   "M&inimize Production"
         Begin VB.Menu mnMinProAll 
            Caption         =   "All"
         End
         Begin VB.Menu mnSep5 
            Caption         =   "-"
         End
         Begin VB.Menu mnMinPro 
            Caption         =   "0"
            Index           =   0
         End
      End
   End
   Begin VB.Menu mnStations 
      Caption         =   "&Stations"
      Begin VB.Menu mnSedit 
         Caption         =   "&Edit"
         Shortcut        =   {F7}
      End
      Begin VB.Menu mnSep12 
         Caption         =   "-"
      End
      Begin VB.Menu mnSownUn 
         Caption         =   "Own &Unowned"
         Visible         =   0   'False
      End
   End
   Begin VB.Menu mnVehicles 
      Caption         =   "&Vehicles"
      Begin VB.Menu mnVedit 
         Caption         =   "&Edit"
         Shortcut        =   {F8}
      End
   End
   Begin VB.Menu mnuWindows 
      Caption         =   "&Windows"
      WindowList      =   -1  'True
   End
   Begin VB.Menu mnHelp 
      Caption         =   "&Help"
      Begin VB.Menu mnHAbout 
         Caption         =   "&About TTDX Editor..."
         Shortcut        =   ^A
      End
   End
End
Attribute VB_Name = "frmMDI"
