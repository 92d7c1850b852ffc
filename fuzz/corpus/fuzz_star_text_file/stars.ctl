* stars
=Regulus 10.13953 11.96719 -0.1033 0.5 1.40 2 3
Royal star.
* comment
@
=Bad 25 0 0 0 1 1 1
lost
@
