#NAME "Пробный словарь"
#INDEX_LANGUAGE "Russian"
#CONTENTS_LANGUAGE "Esperanto"

дом
домик
	[m1][p]м.[/p] [trn]domo[/trn][/m]
	[m2][ex][lang id=1049]большой ~[/lang] — granda domo[/ex][/m]
	[m2]см. также [ref]здание[/ref] и <<жильё>>[/m]

{по}бежать
	[m1]kuri [s]kuri.wav[/s]{{ произношение
	  на двух строках }}[/m]
	[m1][i]перен.[/i] [c blue]forkuri[/c][/m]

с\[кобка\]
	[m1]krampo \{не комментарий\} 50\% \~[/m]
{{ целая строка комментария }}

слово{{коммент}}
	[m3][b]vorto[/b][/m]
	строка без тега

пустая
