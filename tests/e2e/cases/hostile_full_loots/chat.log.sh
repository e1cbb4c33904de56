# 101 different loots left by one monster, one more than a monster once held.
printf '[10:00:00] Le gobelin meurt !\n'
printf "[10:00:01] Vous recevez 120 points d'exp\xe9rience.\n"
for i in $(seq -w 0 100); do printf '[10:00:02] Le gobelin laisse objet %s.\n' "$i"; done
