* Directory of the ephemeris data files (sepl_18.se1 and the others), with a final "/".
/usr/share/libswe/ephe/
