#!/usr/bin/env python3
# Writes the text of a shelf of N launchers with long fields, for timing the reader:
#   bench/support/big_shelf.py 100000 > big.txt && build/tools/tolm-shelf build big.txt big.dat
import sys
n = int(sys.argv[1])
out = []
out.append("header\n    magic = 991091\n    left = 10\n    top = 10\n    right = 810\n    bottom = 610\n    frameShown = 1\n    alwaysButtons = 0\n    color = 0\nend\n")
out.append('object TFontDialog "FontDialog1"\n    Font.Charset = DEFAULT_CHARSET\n    Font.Color = clWindowText\n    Font.Height = -11\n    Font.Name = "MS Sans Serif"\n    Font.Style = []\n    MinFontSize = 0\n    MaxFontSize = 0\nend\n')
for i in range(n):
    out.append(f'''object TSpButton ""
    Left = {(i % 20) * 40}
    Top = {(i // 20) * 40}
    Width = 80
    Height = 40
    Caption = "Programa {i}"
    OnClick = SpButtonClick
    OnMouseDown = SpButtonMouseDown
    OnMouseMove = SpButtonMouseMove
    OnMouseUp = SpButtonMouseUp
    PopupMenu = Principal.MenuBoton
    Tipo = T80x40
    Comando = "/usr/bin/programa-de-configuración-{i}"
    Directorio = "/home/usuario/Proyectos/carpeta-{i % 97}"
    FichIcono = "/usr/share/icons/hicolor/48x48/apps/programa-{i}.png"
    Param = "--abrir \\"/home/usuario/informe {i}.txt\\""
    tag1 = {i % 5}
end
''')
sys.stdout.write("".join(out))
