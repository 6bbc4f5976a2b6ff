VERSION 5.00
Begin VB.Form frmAddress 
   Caption         =   "Address Book"
   ClientHeight    =   4230
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   6720
   LinkTopic       =   "Form1"
   ScaleHeight     =   4230
   ScaleWidth      =   6720
   StartUpPosition =   3  'Windows Default
   Begin VB.Frame fraContact 
      Caption         =   "Contact"
      Height          =   2655
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   4335
      Begin VB.TextBox txtName 
         Height          =   315
         Left            =   1200
         TabIndex        =   2
         Top             =   360
         Width           =   2895
      End
      Begin VB.TextBox txtPhone 
         Height          =   315
         Left            =   1200
         TabIndex        =   4
         Top             =   840
         Width           =   1815
      End
      Begin VB.ComboBox cboGroup 
         Height          =   315
         Left            =   1200
         Style           =   2  'Dropdown List
         TabIndex        =   6
         Top             =   1320
         Width           =   1815
      End
      Begin VB.Label lblField 
         Caption         =   "Group:"
         Height          =   255
         Index           =   2
         Left            =   240
         TabIndex        =   5
         Top             =   1360
         Width           =   855
      End
      Begin VB.Label lblField 
         Caption         =   "Phone:"
         Height          =   255
         Index           =   1
         Left            =   240
         TabIndex        =   3
         Top             =   880
         Width           =   855
      End
      Begin VB.Label lblField 
         Caption         =   "Name:"
         Height          =   255
         Index           =   0
         Left            =   240
         TabIndex        =   1
         Top             =   400
         Width           =   855
      End
   End
   Begin VB.ListBox lstContacts 
      Height          =   2595
      Left            =   4560
      TabIndex        =   7
      Top             =   180
      Width           =   2055
   End
   Begin VB.CommandButton cmdSave 
      Caption         =   "&Save"
      Default         =   -1  'True
      Height          =   375
      Left            =   4080
      TabIndex        =   8
      Top             =   3720
      Width           =   1215
   End
   Begin VB.CommandButton cmdClose 
      Cancel          =   -1  'True
      Caption         =   "Close"
      Height          =   375
      Left            =   5400
      TabIndex        =   9
      Top             =   3720
      Width           =   1215
   End
   Begin VB.Line linSeparator 
      BorderWidth     =   2
      X1              =   120
      X2              =   6600
      Y1              =   3480
      Y2              =   3480
   End
   Begin VB.Timer tmrAutosave 
      Interval        =   5000
      Left            =   120
      Top             =   3600
   End
   Begin VB.Menu mnuFile 
      Caption         =   "&File"
      Begin VB.Menu mnuFileExit 
         Caption         =   "E&xit"
      End
   End
End
Attribute VB_Name = "frmAddress"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
