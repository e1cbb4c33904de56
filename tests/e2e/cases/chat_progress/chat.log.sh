# one guild message and 249 chat lines of no channel
printf '[10:00:00] @@[Guilde] Aldric : "premier"\n'
for i in $(seq 249); do printf '[10:00:01] @@bruit\n'; done
