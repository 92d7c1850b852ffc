* degree texts
@0
The first degree.
@359
The last one.
@360
stray
