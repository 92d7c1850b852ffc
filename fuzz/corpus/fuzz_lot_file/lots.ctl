* lots
   SUN+MON-ASC Fortune
 N ASC+SUN-MON Night
M  R01+R02-SUN Rulers
   SUN+XYZ-MON Unknown
   SUN*MON-ASC Operator
