# A part named with terminal escape sequences (window title, screen clear,
# the C1 byte 0x9B), then a bad command whose line carries more of them, a
# tab and DEL: the console shows each control byte as "?", the tab as it is.
printf '[20:00:00] [TOUS]:  ]log name Evil\033]0;pwned\007\033[2J\233\n'
printf '[20:00:01] [TOUS]:  ]log nom \033[31mrouge\tfin\177\205\n'
