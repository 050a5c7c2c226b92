select 1; select 'open ; 
 -- x
;
/* open