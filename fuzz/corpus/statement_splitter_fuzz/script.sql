-- sample
create table t (id integer primary key, name text, "weird;name" text);
insert into t values (1, 'it''s; fine', "x");
/* a ; comment */ select * from t where name like '%;%';
