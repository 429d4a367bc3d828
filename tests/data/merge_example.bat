C:
cd "C:\work\"
Copy "C:\work\west.inp" gridfuse.inp
"C:\tools\gridfuse.exe"
pause
