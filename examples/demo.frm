VERSION 5.00
Object = "{BDC217C8-ED16-11CD-956C-0000C04E4C0A}#1.1#0"; "TABCTL32.OCX"
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Begin VB.Form frmDemo 
   Caption         =   "Rescalo demo"
   ClientHeight    =   5400
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   7200
   LinkTopic       =   "Form1"
   ScaleHeight     =   5400
   ScaleWidth      =   7200
   StartUpPosition =   3  'Windows Default
   Begin MSComctlLib.ImageList imlTools 
      Left            =   6480
      Top             =   4440
      _ExtentX        =   1005
      _ExtentY        =   1005
      BackColor       =   -2147483643
      ImageWidth      =   16
      ImageHeight     =   16
      MaskColor       =   12632256
      _Version        =   393216
      BeginProperty Images {2C247F25-8591-11D1-B16A-00C0F0283628} 
         NumListImages   =   3
         BeginProperty ListImage1 {2C247F27-8591-11D1-B16A-00C0F0283628} 
            Picture         =   "demo.frx":1B42
            Key             =   "new"
         EndProperty
         BeginProperty ListImage2 {2C247F27-8591-11D1-B16A-00C0F0283628} 
            Picture         =   "demo.frx":1E84
            Key             =   "open"
         EndProperty
         BeginProperty ListImage3 {2C247F27-8591-11D1-B16A-00C0F0283628} 
            Picture         =   "demo.frx":21C6
            Key             =   "save"
         EndProperty
      EndProperty
   End
   Begin MSComctlLib.Toolbar tbrMain 
      Height          =   630
      Left            =   0
      TabIndex        =   0
      Top             =   0
      Width           =   7200
      _ExtentX        =   12700
      _ExtentY        =   1111
      ButtonWidth     =   609
      ButtonHeight    =   953
      Appearance      =   1
      ImageList       =   "imlTools"
      _Version        =   393216
      BeginProperty Buttons {66833FE8-8583-11D1-B16A-00C0F0283628} 
         NumButtons      =   3
         BeginProperty Button1 {66833FEA-8583-11D1-B16A-00C0F0283628} 
            Key             =   "new"
            Object.ToolTipText     =   "New"
            ImageIndex      =   1
         EndProperty
         BeginProperty Button2 {66833FEA-8583-11D1-B16A-00C0F0283628} 
            Key             =   "open"
            Object.ToolTipText     =   "Open"
            ImageIndex      =   2
         EndProperty
         BeginProperty Button3 {66833FEA-8583-11D1-B16A-00C0F0283628} 
            Key             =   "save"
            Object.ToolTipText     =   "Save"
            ImageIndex      =   3
         EndProperty
      EndProperty
   End
   Begin VB.Image imgLogo 
      Height          =   720
      Left            =   240
      Picture         =   "demo.frx":0000
      Stretch         =   -1  'True
      Top             =   840
      Width           =   720
   End
   Begin VB.Label lblTitle 
      Caption         =   "Contacts"
      BeginProperty Font 
         Name            =   "Arial"
         Size            =   14.25
         Charset         =   0
         Weight          =   700
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      Height          =   420
      Left            =   1140
      TabIndex        =   1
      Top             =   960
      Width           =   3000
   End
   Begin VB.Line linTop 
      BorderWidth     =   2
      X1              =   240
      X2              =   6960
      Y1              =   1680
      Y2              =   1680
   End
   Begin VB.Frame fraContact 
      Caption         =   "Contact"
      Height          =   2400
      Left            =   240
      TabIndex        =   2
      Top             =   1800
      Width           =   3360
      Begin VB.TextBox txtPhone 
         Height          =   315
         Left            =   1080
         TabIndex        =   6
         Top             =   840
         Width           =   2040
      End
      Begin VB.TextBox txtName 
         Height          =   315
         Left            =   1080
         TabIndex        =   4
         Top             =   360
         Width           =   2040
      End
      Begin VB.Label lblField 
         Caption         =   "Phone:"
         Height          =   255
         Index           =   1
         Left            =   120
         TabIndex        =   5
         Top             =   880
         Width           =   855
      End
      Begin VB.Label lblField 
         Caption         =   "Name:"
         Height          =   255
         Index           =   0
         Left            =   120
         TabIndex        =   3
         Top             =   400
         Width           =   855
      End
      Begin VB.Shape shpBadge 
         BorderWidth     =   2
         Height          =   735
         Left            =   120
         Shape           =   4  'Rounded Rectangle
         Top             =   1440
         Width           =   3000
      End
   End
   Begin TabDlg.SSTab tabDetails 
      Height          =   2400
      Left            =   3720
      TabIndex        =   7
      Top             =   1800
      Width           =   3240
      _ExtentX        =   5715
      _ExtentY        =   4233
      _Version        =   393216
      Tabs            =   2
      TabsPerRow      =   2
      TabHeight       =   520
      TabCaption(0)   =   "Notes"
      TabPicture(0)   =   "demo.frx":2508
      Tab(0).ControlEnabled=   -1  'True
      Tab(0).Control(0)=   "txtNotes"
      Tab(0).ControlCount=   1
      TabCaption(1)   =   "Options"
      Tab(1).ControlEnabled=   0   'False
      Tab(1).Control(0)=   "chkRemember"
      Tab(1).ControlCount=   1
      Begin VB.CheckBox chkRemember 
         Caption         =   "Remember me"
         Height          =   315
         Left            =   -74760
         TabIndex        =   9
         Top             =   600
         Width           =   2040
      End
      Begin VB.TextBox txtNotes 
         Height          =   1560
         Left            =   240
         MultiLine       =   -1  'True
         TabIndex        =   8
         Top             =   600
         Width           =   2760
      End
   End
   Begin VB.Line linBottom 
      X1              =   240
      X2              =   6960
      Y1              =   4320
      Y2              =   4320
   End
   Begin VB.CommandButton cmdHelp 
      Height          =   495
      Left            =   240
      Picture         =   "demo.frx":2508
      Style           =   1  'Graphical
      TabIndex        =   10
      Top             =   4440
      Width           =   495
   End
   Begin VB.Label lblStatus 
      Caption         =   "Drag the corner: everything follows."
      Height          =   255
      Left            =   840
      TabIndex        =   11
      Top             =   4560
      Width           =   3000
   End
   Begin VB.CommandButton cmdOK 
      Caption         =   "OK"
      Default         =   -1  'True
      Height          =   375
      Left            =   4560
      TabIndex        =   12
      Top             =   4860
      Width           =   1095
   End
   Begin VB.CommandButton cmdCancel 
      Cancel          =   -1  'True
      Caption         =   "Cancel"
      Height          =   375
      Left            =   5820
      TabIndex        =   13
      Top             =   4860
      Width           =   1095
   End
   Begin RescaloControl.Rescalo Rescalo1 
      Left            =   6000
      Top             =   4440
      _ExtentX        =   847
      _ExtentY        =   847
      ControlFlagCount=   3
      1ControlFlagControlKey=   "cmdOK"
      1ControlFlagDontScaleWidth=   -1  'True
      1ControlFlagDontScaleHeight=   -1  'True
      1ControlFlagDontScaleRight=   -1  'True
      1ControlFlagDontScaleBottom=   -1  'True
      2ControlFlagControlKey=   "cmdCancel"
      2ControlFlagDontScaleWidth=   -1  'True
      2ControlFlagDontScaleHeight=   -1  'True
      2ControlFlagDontScaleRight=   -1  'True
      2ControlFlagDontScaleBottom=   -1  'True
      3ControlFlagControlKey=   "lblStatus"
      3ControlFlagDontScaleFont=   -1  'True
      3ControlFlagDontScaleHeight=   -1  'True
      3ControlFlagDontScaleBottom=   -1  'True
      DesignFormWidth =   7320
      DesignFormHeight=   5805
      DesignFormScaleWidth=   7200
      DesignFormScaleHeight=   5400
      GradientFill    =   -1  'True
      GradientColour  =   16577775
      GradientColour2 =   14729376
      GradientMidColour=   14729376
      GradientType    =   1
      GradientSource  =   8
      FormOpen        =   7
      FormOpenTime    =   0.5
   End
End
Attribute VB_Name = "frmDemo"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
