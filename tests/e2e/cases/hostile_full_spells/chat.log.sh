# 81 different spells: the 81st does not fit in the spell table.
for i in $(seq -w 0 80); do printf '[10:00:%02d] Vous lancez le sort Sort %s !\n' $((10#$i % 60)) "$i"; done
