create table x(trigger int); select 2;;  ;
	