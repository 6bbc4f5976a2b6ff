VERSION 5.00
Begin VB.MDIForm mdiMain 
   BackColor       =   &H8000000C&
   Caption         =   "Workspace"
   ClientHeight    =   5400
   ClientLeft      =   60
   ClientTop       =   630
   ClientWidth     =   8400
   LinkTopic       =   "MDIForm1"
   StartUpPosition =   3  'Windows Default
   Begin VB.PictureBox picStatus 
      Align           =   2  'Align Bottom
      Height          =   360
      Left            =   0
      ScaleHeight     =   300
      ScaleWidth      =   8340
      TabIndex        =   1
      Top             =   5040
      Width           =   8400
      Begin VB.Label lblStatus 
         Caption         =   "Ready"
         Height          =   255
         Left            =   60
         TabIndex        =   2
         Top             =   30
         Width           =   3000
      End
   End
   Begin VB.PictureBox picTools 
      Align           =   1  'Align Top
      Height          =   480
      Left            =   0
      ScaleHeight     =   420
      ScaleWidth      =   8340
      TabIndex        =   0
      Top             =   0
      Width           =   8400
      Begin VB.CommandButton cmdNew 
         Caption         =   "New"
         Height          =   360
         Left            =   60
         TabIndex        =   3
         Top             =   30
         Width           =   900
      End
   End
   Begin VB.Menu mnuWindow 
      Caption         =   "&Window"
      WindowList      =   -1  'True
      Begin VB.Menu mnuWindowTile 
         Caption         =   "&Tile"
      End
   End
   Begin RescaloControl.Rescalo Rescalo1 
      Left            =   0
      Top             =   0
      _ExtentX        =   847
      _ExtentY        =   847
      DesignFormWidth =   8520
      DesignFormHeight=   6105
      DesignFormScaleWidth=   8400
      DesignFormScaleHeight=   4560
   End
End
Attribute VB_Name = "mdiMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = True
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
