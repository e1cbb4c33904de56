# Eleven different skills gained while making one item, one more than an item once held.
printf '[10:00:00] Vous commencez le travail sur arc long.\n'
for i in $(seq -w 0 10); do printf '[10:00:01] Vous devenez plus dou\xe9 en savoir %s!\n' "$i"; done
