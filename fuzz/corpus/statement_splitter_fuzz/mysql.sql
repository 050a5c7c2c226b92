/*!40101 SET NAMES utf8 */;
select 'a\';b' as x, `col;umn` from `t`;
CREATE DEFINER=`root`@`localhost` TRIGGER tr BEFORE UPDATE ON t FOR EACH ROW
BEGIN
  IF NEW.a < 0 THEN SET NEW.a = 0; END IF;
  WHILE x DO SET x = x - 1; END WHILE;
END;
select [bracketed;name] from t