# 81 different spells, one more than the spell table once held: all are listed.
for i in $(seq -w 0 80); do printf '[10:00:%02d] Vous lancez le sort Sort %s !\n' $((10#$i % 60)) "$i"; done
