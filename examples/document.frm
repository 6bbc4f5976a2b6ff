VERSION 5.00
Begin VB.Form frmDocument 
   Caption         =   "Document"
   ClientHeight    =   3600
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   4800
   LinkTopic       =   "Form1"
   MDIChild        =   -1  'True
   ScaleHeight     =   3600
   ScaleWidth      =   4800
   Begin VB.TextBox txtBody 
      Height          =   2640
      Left            =   120
      MultiLine       =   -1  'True
      ScrollBars      =   2  'Vertical
      TabIndex        =   0
      Top             =   120
      Width           =   4560
   End
   Begin VB.CommandButton cmdClose 
      Caption         =   "Close"
      Height          =   375
      Left            =   3480
      TabIndex        =   1
      Top             =   3000
      Width           =   1200
   End
   Begin VB.Label lblWords 
      Caption         =   "0 words"
      Height          =   255
      Left            =   120
      TabIndex        =   2
      Top             =   3060
      Width           =   2400
   End
   Begin RescaloControl.Rescalo Rescalo1 
      Left            =   0
      Top             =   0
      _ExtentX        =   847
      _ExtentY        =   847
      DesignFormWidth =   4920
      DesignFormHeight=   4005
      DesignFormScaleWidth=   4800
      DesignFormScaleHeight=   3600
   End
End
Attribute VB_Name = "frmDocument"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
