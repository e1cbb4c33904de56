# Lines of every shape the reader must survive, around a crafting session:
# a part command ending in CR LF, one physical line of 299 + 299 + 93
# characters (three lines for the reader: a start whose item name is far
# longer than its field, a padded success, a failure), a line without time
# stamp, lines shorter than 12 characters, control bytes in an item name, a
# NUL byte before the quality of a success, and a last line without line break.
export LC_ALL=C
name=$(printf 'arc long de chasse en if massif %.0s' $(seq 10))
printf '[22:00:00] [TOUS]:  ]log name Arcs\r\n'
printf '[22:00:04] Vous commencez le travail sur %s.' "${name:0:257}"
printf '%-299s' '[22:00:05] Vous avez r'$'\xe9''ussi votre confection. Vous avez d'$'\xe9''sormais 97% de qualit'$'\xe9''.'
printf '[22:00:06] Vous ne r\xe9ussissez pas \xe0 confectionner l'"'"'arc et perdez une partie des mat\xe9riaux !\n'
printf '*** Journal ferm\xe9 : Mon Jan 03 23:00:00 2005\n'
printf -- '-----------Vous avez r\xe9ussi votre confection. Vous avez d\xe9sormais 95%% de qualit\xe9.\n'
printf '\n[22:00]\nabc\n[22:00:07]\n[22:00:07] \n'
printf '[22:00:08] Vous commencez le travail sur ar\001c\r\033[1m\177.\n'
printf '[22:00:09] Vous avez r\xe9ussi votre confection. Vous avez d\xe9sormais 94%% de qualit\xe9.\r\n'
printf '[22:00:10] Vous avez r\xe9ussi votre confection. Vous avez d\xe9sormais \0 100%% de qualit\xe9.\n'
printf "[22:00:20] Vous devenez plus dou\xe9 en tir \xe0 l'arc!"
