VERSION 5.00
Object = "{BDC217C8-ED16-11CD-956C-0000C04E4C0A}#1.1#0"; "TABCTL32.OCX"
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Object = "{8E27C92E-1264-101C-8A2F-040224009C02}#7.0#0"; "MSCAL.OCX"
Begin VB.Form frmEveryControl 
   Caption         =   "Every control"
   ClientHeight    =   7200
   ClientLeft      =   60
   ClientTop       =   630
   ClientWidth     =   9600
   LinkTopic       =   "Form1"
   ScaleHeight     =   7200
   ScaleWidth      =   9600
   StartUpPosition =   3  'Windows Default
   Begin MSComctlLib.ImageList imlIcons 
      Left            =   8880
      Top             =   6480
      _ExtentX        =   1005
      _ExtentY        =   1005
      BackColor       =   -2147483643
      ImageWidth      =   16
      ImageHeight     =   16
      MaskColor       =   12632256
      _Version        =   393216
      BeginProperty Images {2C247F25-8591-11D1-B16A-00C0F0283628} 
         NumListImages   =   2
         BeginProperty ListImage1 {2C247F27-8591-11D1-B16A-00C0F0283628} 
            Picture         =   "demo.frx":1B42
            Key             =   "leaf"
         EndProperty
         BeginProperty ListImage2 {2C247F27-8591-11D1-B16A-00C0F0283628} 
            Picture         =   "demo.frx":1E84
            Key             =   "folder"
         EndProperty
      EndProperty
   End
   Begin MSComctlLib.ImageList imlBig 
      Left            =   8280
      Top             =   6480
      _ExtentX        =   1005
      _ExtentY        =   1005
      BackColor       =   -2147483643
      ImageWidth      =   32
      ImageHeight     =   32
      MaskColor       =   12632256
      _Version        =   393216
      BeginProperty Images {2C247F25-8591-11D1-B16A-00C0F0283628} 
         NumListImages   =   1
         BeginProperty ListImage1 {2C247F27-8591-11D1-B16A-00C0F0283628} 
            Picture         =   "demo.frx":21C6
            Key             =   "card"
         EndProperty
      EndProperty
   End
   Begin VB.PictureBox picTop 
      Align           =   1  'Align Top
      Height          =   480
      Left            =   0
      ScaleHeight     =   420
      ScaleWidth      =   9540
      TabIndex        =   0
      Top             =   0
      Width           =   9600
      Begin VB.CommandButton cmdTool 
         Caption         =   "New"
         Height          =   360
         Index           =   0
         Left            =   60
         TabIndex        =   1
         Top             =   30
         Width           =   900
      End
      Begin VB.CommandButton cmdTool 
         Caption         =   "Open"
         Height          =   360
         Index           =   1
         Left            =   1020
         Picture         =   "demo.frx":2508
         TabIndex        =   2
         Top             =   30
         Width           =   900
      End
   End
   Begin VB.Label lblTitle 
      Caption         =   "Every kind of control"
      BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} 
         Name            =   "Arial"
         Size            =   12
         Charset         =   0
         Weight          =   700
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      Height          =   360
      Left            =   120
      TabIndex        =   3
      Top             =   600
      Width           =   4200
   End
   Begin VB.Image imgLogo 
      Height          =   720
      Left            =   8760
      Picture         =   "demo.frx":0000
      Stretch         =   -1  'True
      Top             =   600
      Width           =   720
   End
   Begin VB.Line linRule 
      BorderWidth     =   2
      X1              =   120
      X2              =   9480
      Y1              =   1020
      Y2              =   1020
   End
   Begin VB.TextBox txtName 
      Height          =   315
      Left            =   120
      TabIndex        =   4
      Text            =   "A name"
      Top             =   1140
      Width           =   2400
   End
   Begin VB.ComboBox cboKind 
      Height          =   315
      Left            =   2640
      Style           =   2  'Dropdown List
      TabIndex        =   5
      Top             =   1140
      Width           =   1800
   End
   Begin VB.ComboBox cboSimple 
      Height          =   1020
      Left            =   4560
      Style           =   1  'Simple Combo
      TabIndex        =   6
      Text            =   "Simple"
      Top             =   1140
      Width           =   1800
   End
   Begin VB.CheckBox chkActive 
      Caption         =   "Active"
      Height          =   255
      Left            =   120
      TabIndex        =   7
      Top             =   1560
      Width           =   1200
   End
   Begin VB.Frame fraChoice 
      Caption         =   "Choice"
      Height          =   1080
      Left            =   120
      TabIndex        =   8
      Top             =   1920
      Width           =   2400
      Begin VB.OptionButton optChoice 
         Caption         =   "One"
         Height          =   255
         Index           =   0
         Left            =   120
         TabIndex        =   9
         Top             =   300
         Value           =   -1  'True
         Width           =   1800
      End
      Begin VB.OptionButton optChoice 
         Caption         =   "Two"
         Height          =   255
         Index           =   1
         Left            =   120
         TabIndex        =   10
         Top             =   660
         Width           =   1800
      End
   End
   Begin VB.ListBox lstItems 
      Height          =   840
      Left            =   2640
      TabIndex        =   11
      Top             =   1560
      Width           =   1800
   End
   Begin VB.DriveListBox drvDisk 
      Height          =   315
      Left            =   6480
      TabIndex        =   12
      Top             =   1140
      Width           =   1800
   End
   Begin VB.DirListBox dirFolders 
      Height          =   990
      Left            =   6480
      TabIndex        =   13
      Top             =   1560
      Width           =   1800
   End
   Begin VB.FileListBox filFiles 
      Height          =   870
      Left            =   6480
      TabIndex        =   14
      Top             =   2640
      Width           =   1800
   End
   Begin VB.PictureBox picCanvas 
      BorderStyle     =   1  'Fixed Single
      Height          =   1200
      Left            =   2640
      Picture         =   "demo.frx":0000
      ScaleHeight     =   1140
      ScaleWidth      =   1740
      TabIndex        =   15
      Top             =   2520
      Width           =   1800
      Begin VB.Shape shpMark 
         BorderWidth     =   3
         Height          =   480
         Left            =   120
         Shape           =   3  'Circle
         Top             =   120
         Width           =   480
      End
      Begin VB.Label lblInside 
         Caption         =   "Inside"
         Height          =   255
         Left            =   720
         TabIndex        =   16
         Top             =   240
         Width           =   900
      End
   End
   Begin VB.HScrollBar hsbZoom 
      Height          =   255
      Left            =   120
      Max             =   100
      TabIndex        =   17
      Top             =   3120
      Width           =   2400
   End
   Begin VB.VScrollBar vsbPage 
      Height          =   1200
      Left            =   4560
      TabIndex        =   18
      Top             =   2400
      Width           =   255
   End
   Begin VB.Timer tmrClock 
      Interval        =   1000
      Left            =   7800
      Top             =   6480
   End
   Begin MSComctlLib.TreeView tvwTree 
      Height          =   1800
      Left            =   120
      TabIndex        =   19
      Top             =   3600
      Width           =   2400
      _ExtentX        =   4233
      _ExtentY        =   3175
      _Version        =   393217
      LineStyle       =   1
      Style           =   7
      ImageList       =   "imlIcons"
      Appearance      =   1
      BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} 
         Name            =   "Arial"
         Size            =   8.25
         Charset         =   0
         Weight          =   400
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
   End
   Begin MSComctlLib.ListView lvwList 
      Height          =   1800
      Left            =   2640
      TabIndex        =   20
      Top             =   3840
      Width           =   3000
      _ExtentX        =   5292
      _ExtentY        =   3175
      View            =   3
      LabelWrap       =   -1  'True
      HideSelection   =   -1  'True
      _Version        =   393217
      Icons           =   "imlBig"
      SmallIcons      =   "imlIcons"
      Appearance      =   1
      BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} 
         Name            =   "Arial"
         Size            =   8.25
         Charset         =   0
         Weight          =   400
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      NumItems        =   2
      BeginProperty ColumnHeader(1) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         Text            =   "Name"
         Object.Width           =   1800
      EndProperty
      BeginProperty ColumnHeader(2) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         SubItemIndex    =   1
         Text            =   "Size"
         Object.Width           =   1000
      EndProperty
   End
   Begin MSComctlLib.TabStrip tabPages 
      Height          =   1800
      Left            =   5760
      TabIndex        =   21
      Top             =   3840
      Width           =   3720
      _ExtentX        =   6562
      _ExtentY        =   3175
      _Version        =   393216
      BeginProperty Tabs {1EFB6598-857C-11D1-B16A-00C0F0283628} 
         NumTabs         =   2
         BeginProperty Tab1 {1EFB659A-857C-11D1-B16A-00C0F0283628} 
            Caption         =   "First"
            ImageVarType    =   2
         EndProperty
         BeginProperty Tab2 {1EFB659A-857C-11D1-B16A-00C0F0283628} 
            Caption         =   "Second"
            ImageVarType    =   2
         EndProperty
      EndProperty
   End
   Begin TabDlg.SSTab tabDialog 
      Height          =   1200
      Left            =   8400
      TabIndex        =   22
      Top             =   1140
      Width           =   1080
      _ExtentX        =   1905
      _ExtentY        =   2117
      _Version        =   393216
      Tabs            =   2
      TabHeight       =   420
      TabCaption(0)   =   "A"
      TabPicture(0)   =   "demo.frx":2508
      Tab(0).ControlEnabled=   -1  'True
      Tab(0).Control(0)=   "chkInTab"
      Tab(0).ControlCount=   1
      TabCaption(1)   =   "B"
      Tab(1).ControlEnabled=   0   'False
      Tab(1).ControlCount=   0
      Begin VB.CheckBox chkInTab 
         Caption         =   "In"
         Height          =   255
         Left            =   120
         TabIndex        =   23
         Top             =   540
         Width           =   720
      End
   End
   Begin MSACAL.Calendar calDate 
      Height          =   1560
      Left            =   6480
      TabIndex        =   24
      Top             =   5760
      Width           =   1200
      _Version        =   524288
      _ExtentX        =   2117
      _ExtentY        =   2752
      _StockProps     =   1
      Year            =   2026
      Month           =   12
      Day             =   7
      BeginProperty DayFont {0BE35203-8F91-11CE-9DE3-00AA004BB851} 
         Name            =   "Arial"
         Size            =   8.25
         Charset         =   0
         Weight          =   700
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      BeginProperty GridFont {0BE35203-8F91-11CE-9DE3-00AA004BB851} 
         Name            =   "Arial"
         Size            =   8.25
         Charset         =   0
         Weight          =   400
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      BeginProperty TitleFont {0BE35203-8F91-11CE-9DE3-00AA004BB851} 
         Name            =   "Arial"
         Size            =   12
         Charset         =   0
         Weight          =   700
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
   End
   Begin VB.CommandButton cmdOK 
      Caption         =   "OK"
      Default         =   -1  'True
      Height          =   375
      Left            =   120
      TabIndex        =   25
      Top             =   5760
      Width           =   1200
   End
   Begin VB.TextBox txtFixed 
      Height          =   315
      Left            =   1440
      TabIndex        =   26
      Text            =   "Left and top stay"
      Top             =   5760
      Width           =   2400
   End
   Begin VB.Label lblNote 
      BorderStyle     =   1  'Fixed Single
      Caption         =   "Font, border and size kept"
      Height          =   315
      Left            =   3960
      TabIndex        =   27
      Top             =   5760
      Width           =   2400
   End
   Begin VB.CommandButton NoResizeHelp 
      Caption         =   "?"
      Height          =   375
      Left            =   5880
      TabIndex        =   28
      Top             =   6480
      Width           =   375
   End
   Begin VB.Line linLocked 
      BorderWidth     =   3
      X1              =   120
      X2              =   3840
      Y1              =   6600
      Y2              =   6600
   End
   Begin VB.Shape shpFixed 
      BorderWidth     =   2
      Height          =   360
      Left            =   7800
      Top             =   5760
      Width           =   360
   End
   Begin VB.Menu mnuFile 
      Caption         =   "&File"
      Begin VB.Menu mnuFileOpen 
         Caption         =   "&Open"
      End
      Begin VB.Menu mnuFileExit 
         Caption         =   "E&xit"
      End
   End
   Begin VB.Menu mnuHelp 
      Caption         =   "&Help"
   End
   Begin RescaloControl.Rescalo Rescalo1 
      Left            =   9000
      Top             =   6480
      _ExtentX        =   847
      _ExtentY        =   847
      ControlFlagCount=   6
      1ControlFlagControlKey=   "cmdOK"
      1ControlFlagDontScaleWidth=   -1  'True
      1ControlFlagDontScaleHeight=   -1  'True
      2ControlFlagControlKey=   "txtFixed"
      2ControlFlagDontScaleLeft=   -1  'True
      2ControlFlagDontScaleTop=   -1  'True
      3ControlFlagControlKey=   "lblNote"
      3ControlFlagDontScaleFont=   -1  'True
      3ControlFlagDontScaleBorder=   -1  'True
      3ControlFlagDontScaleHeight=   -1  'True
      3ControlFlagDontScaleBottom=   -1  'True
      4ControlFlagControlKey=   "linLocked"
      4ControlFlagDontScaleControl=   -1  'True
      4ControlFlagDontScaleBorder=   -1  'True
      4ControlFlagDontScaleLeft=   -1  'True
      4ControlFlagDontScaleTop=   -1  'True
      4ControlFlagDontScaleWidth=   -1  'True
      4ControlFlagDontScaleHeight=   -1  'True
      5ControlFlagControlKey=   "imgLogo"
      5ControlFlagDontScaleGraphic=   -1  'True
      5ControlFlagDontScaleWidth=   -1  'True
      5ControlFlagDontScaleRight=   -1  'True
      6ControlFlagControlKey=   "shpFixed"
      6ControlFlagDontScaleBorder=   -1  'True
      DesignFormWidth =   9720
      DesignFormHeight=   7905
      DesignFormScaleWidth=   9600
      DesignFormScaleHeight=   7200
   End
End
Attribute VB_Name = "frmEveryControl"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
