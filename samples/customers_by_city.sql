select city, count(*) as customers
from customers
group by city
order by customers desc
