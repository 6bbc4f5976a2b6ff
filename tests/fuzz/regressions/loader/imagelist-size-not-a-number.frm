VERSION 5.00
Object = "{BDC217C8-ED16-11CD-956C-0000C04E4C0A}#1.1#0"; "TABCTL32.OCX"
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Begin VB.Form frmDemo 
   Caption         =   "Rescalo demo"
   ClientHeight    =   0800
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
      ImageHeight     =   1Height          =   315
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
         Height          =      600
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
   End
End
Attribute VB_Name = "frmDemo"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
