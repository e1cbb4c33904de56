@echo off
rem Suit en direct le journal du jeu : double-cliquez sur ce fichier (il suit
rem le chat.log du meme dossier) ou deposez un journal dessus. Les pages
rem sont mises a jour pendant le jeu ; une touche arrete le suivi.
setlocal
cd /d "%~dp0"
"%~dp0korvanel.exe" --follow %*
set status=%errorlevel%
rem Une ligne de commande fausse : le message reste lisible.
if "%status%"=="2" pause
exit /b %status%
