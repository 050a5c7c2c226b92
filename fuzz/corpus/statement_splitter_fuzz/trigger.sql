CREATE TRIGGER trg AFTER INSERT ON t
BEGIN
  UPDATE t SET name = CASE WHEN new.id > 0 THEN 'p;' ELSE 'n' END WHERE id = new.id;
  INSERT INTO log VALUES (new.id);
END;
select 1;
