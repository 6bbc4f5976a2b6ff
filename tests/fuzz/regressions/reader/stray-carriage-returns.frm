VERSION 5.00
Begin VB.Form ToolBox 
   BorderStyle     =   4  'Fixed ToolWindow
   ClientHeight    =   3195
   ClientLeft      =   45
   ClientTop       =   285
   ClientWidth     =   19ˇˇˇ˚  Clip     =   690
      Picture         =   "Form2.frx":0EA2
      ScaleHeight     =   465
      ScaleWidth      =   495
      TabIndex        =   6
      Top             =   600
      Width           =   555
   End
   Begin VB.PictureBox TilesPalette 
      Height          =   525
      Index           =   3
      Left            =   120
      Picture         =   "Form2.frx":1577
      ScaleHeight     =   465
      ScaleWidth      =   495
      TabIndex        =   5
      Top             =   600
      Width           =   555
   End
   Begin VB.PictureBox selectedtile 
      Height          =   645
      Left            =   120
      ScaleHeight     =   585
      ScaleWidth      =   615
      TabIndex        =   3
      Top             =   2400
      Width           =   675
   End
   Begin VB.PictureBox TilesPalette 
      Height          =   525
      Index           =   2
      Left            =   1260
      Picture         =   "Form2.frx":1933
      Scal    Top             =   2790
      Width           =   765
   End
End
Attribute
         End
         Begin VB.Menu Account_Head 
            Caption         =   "Account Head"
         End
      End
      Begin VB.Menu UserEntry 
         Caption        ˇˇˇˇˇˇˇˇˇˇˇˇˇˇˇˇˇˇˇˇˇˇChange Title"
      End
      Begin VB.Menu Resize 
         Caption         =   "Resize"
Object = "{6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0"; "COMCTL32.OCX"
Begin VB.MDIForm frmMDI 
   BackColor       =   &H00FFFFFF&
   Caption         =   "HGDevTool Ver 0.3"
   ClientHeight    =   13455
   ClientLeft      =   120
   ClientTop       =   465
   ClientWidth     =   22650
   Icon            =   "frmMDI.frx":0000
   LinkTopic       =   "MDIForm1"
   StartUpPosition =   3  'Windows Í∏∞Î≥∏Í∞í
   WindowState     =   2  'ÏµúÎåÄÌôî
   Begin ComctlLib.Toolbar Toolbar1 
      Align           =   1  'ÏúÑ ÎßûÏ∂§
      Height          =   660
      Left            =   0
      TabIndex        =   0
      Top             =   0
      Width           =   22650
      _ExtentX        =   39952
      _ExtentY        =   1164
      ButtonWidth     =   2646
      ButtonHeight    =   1005
      Appearance      =   1
      _Version        =   327682
      BeginProperty Buttons {0713E452-850A-101B-AFC0-4210102A8DA7} 
         NumButtons      =   9
         BeginProperty Button1 {0713F354-850A-101B-AFC0-4210102A8DA7} 
            Caption         =   "Ïö©Ïñ¥ÏÉùÏÑ±Í∏∞"
            Object.Tag             =   ""
         EndProperty
         BeginProperty Button2 {0713F354-850A-101B-AFC0-4210102A8DA7} 
            Caption         =   "Source Converter"
            Object.Tag             =   ""
         EndProperty
         BeginProperty Button3 {0713F354-850A-101B-AFC0-4210102A8DA7} 
            Caption         =   "Rule Converter"
            Object.Tag             =   ""
         EndProperty
         BeginProperty Button4 {0713F354-850A-101B-AFC0-4210102A8DA7} 
            Caption         =   "Vlookup"
            Object.Tag             =   ""
         EndProperty
         BeginProperty Button5 {0713F354-850A-101B-AFC0-4210102A8DA7} 
            Caption         =   "VO manager"
            Object.Tag             =   ""
         EndProperty
         BeginProperty Button6 {0713F354-850A-101B-AFC0-4210102A8DA7} 
            Caption         =   "OZ Report"
            Object.Tag             =   ""
         EndProperty
         BeginProperty Button7 {0713F354-850A-101B-AFC0-4210102A8DA7} 
            Caption         =   "ASIS mapping"
            Object.Tag             =   ""
         EndProperty
         BeginProperty Button8 {0713F354-850A-101B-AFC0-4210102A8DA7} 
            Caption         =   "UI manager"
            Object.Tag             =   ""
         EndProperty
         BeginProperty Button9 {0713F354-850A-101B-AFC0-4210102A8DA7} 
            Caption         =   "Í∞úÏù∏Î≥¥Ï¶ù"
            Object.Tag             =   ""
         EndProperty
      EndProperty
      Begin VB.Timer Timer1 
         Interval        =   60000
         Left            =   21000
         Top             =   120
      End
   End
End
    VB_Name = "ToolBox"
