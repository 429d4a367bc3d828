C:
cd "C:\work\"
"C:\tools\wxjoin2.exe" wxjoin2.inp
pause
